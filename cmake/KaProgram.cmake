# ka_add_program(<target> [WIN32] sources...): an executable with the application manifest.
function(ka_add_program target)
  add_executable(${target} ${ARGN} ${PROJECT_SOURCE_DIR}/resources/manifest.rc)
  set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/manifest.rc PROPERTIES
    OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/app.manifest)
endfunction()

# ka_add_layouts(<target> <rc-name> files...): embeds layout text files as RCDATA resources
# named after the file (without extension, upper case), so forms find them by class name.
function(ka_add_layouts target)
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_layouts.rc")
  set(content "")
  foreach(f ${ARGN})
    get_filename_component(abs ${f} ABSOLUTE)
    get_filename_component(name ${f} NAME_WE)
    string(TOUPPER ${name} upper)
    string(APPEND content "${upper} RCDATA \"${abs}\"\n")
    set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${abs})
  endforeach()
  file(GENERATE OUTPUT ${rc} CONTENT "${content}")
  target_sources(${target} PRIVATE ${rc})
endfunction()

# ka_link_units(<target> libraries...): links every object file of these library units. A
# layout names classes that no code mentions, and a static library would otherwise drop the
# object files whose start-up registrations make those classes known to the layout reader.
# (Objects rather than a whole-archive link: the archives still come along for the link
# order, and members already present are simply not taken twice.)
function(ka_link_units target)
  target_link_libraries(${target} PRIVATE ${ARGN})
  foreach(lib ${ARGN})
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:${lib}>)
  endforeach()
endfunction()
