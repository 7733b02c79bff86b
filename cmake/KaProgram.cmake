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
