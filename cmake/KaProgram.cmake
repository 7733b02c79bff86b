# ka_add_program(<target> [WIN32] sources...): an executable with the application manifest
# (per-monitor DPI awareness, common controls 6) and a version resource.
if(NOT DEFINED KA_RESOURCE_DIR)
  set(KA_RESOURCE_DIR ${PROJECT_SOURCE_DIR}/resources)
endif()
function(ka_add_program target)
  add_executable(${target} ${ARGN} ${KA_RESOURCE_DIR}/manifest.rc)
  set_source_files_properties(${KA_RESOURCE_DIR}/manifest.rc PROPERTIES
    OBJECT_DEPENDS ${KA_RESOURCE_DIR}/app.manifest)
  ka_add_version_resource(${target})
endfunction()

# ka_add_version_resource(<target>): the file version block Windows shows in a program's
# properties, from the project's name and version.
function(ka_add_version_resource target)
  set(KA_VERSION_NAME "${target}")
  set(KA_VERSION_PRODUCT "${PROJECT_NAME}")
  foreach(part MAJOR MINOR PATCH)
    set(KA_VERSION_${part} "${PROJECT_VERSION_${part}}")
    if(KA_VERSION_${part} STREQUAL "")
      set(KA_VERSION_${part} 0)
    endif()
  endforeach()
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc")
  configure_file(${KA_RESOURCE_DIR}/version.rc.in "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/KaLayouts.cmake)

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

# ka_unit_objects(<library> <object-library>): objects that a program must take whole (a
# resource, a start-up registration nobody refers to) go to every program linking <library>
# in this tree (programs only: a library archiving them too would hand them out twice); they
# are also archived in <library>, where the installed package's whole-archive link finds them.
function(ka_unit_objects lib objlib)
  target_sources(${lib} INTERFACE
    "$<BUILD_INTERFACE:$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:$<TARGET_OBJECTS:${objlib}>>>")
  target_sources(${lib} PRIVATE $<TARGET_OBJECTS:${objlib}>)
endfunction()
