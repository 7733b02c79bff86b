# The installed package: headers, one static library per unit, and KarvoVCLConfig.cmake with
# the targets KarvoVCL::<unit> and the umbrella KarvoVCL::KarvoVCL. The same names exist as
# aliases in this tree, for projects that take the library by add_subdirectory.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ka_unit_targets ka_framework ka_drawutils ka_imagecollection ka_hint ka_controls ka_gputils
    ka_gpfontcontrols ka_gpimages ka_moderncontrols ka_gpcontrols ka_lottie ka_advancedcontrols
    ka_styledform ka_stylemanager ka_gppagers ka_accessibility)
set(ka_installed_units "")
set(ka_exported_names "")
foreach(t ${ka_unit_targets})
  if(TARGET ${t})
    string(REGEX REPLACE "^ka_" "" name ${t})
    set_target_properties(${t} PROPERTIES EXPORT_NAME ${name})
    add_library(KarvoVCL::${name} ALIAS ${t})
    list(APPEND ka_installed_units ${t})
    list(APPEND ka_exported_names KarvoVCL::${name})
  endif()
endforeach()
set_target_properties(ka_options PROPERTIES EXPORT_NAME options)

# The umbrella takes every unit whole: layouts name classes that no code of the program
# mentions, and their registrations (and the units' resources) live in object files that a
# plain archive link would leave out. In this tree ka_link_units does the same with objects.
add_library(ka_all INTERFACE)
set_target_properties(ka_all PROPERTIES EXPORT_NAME KarvoVCL)
# Whole-archive by linker options rather than a link feature: the units also name each other
# as plain dependencies, and CMake refuses one library linked both ways.
set(ka_whole "")
foreach(name ${ka_exported_names})
  if(MSVC)
    list(APPEND ka_whole "/WHOLEARCHIVE:$<TARGET_LINKER_FILE:${name}>")
  else()
    list(APPEND ka_whole "$<TARGET_LINKER_FILE:${name}>")
  endif()
endforeach()
if(NOT MSVC)
  list(PREPEND ka_whole "-Wl,--whole-archive")
  list(APPEND ka_whole "-Wl,--no-whole-archive")
endif()
target_link_libraries(ka_all INTERFACE "$<BUILD_INTERFACE:${ka_installed_units}>"
  "$<INSTALL_INTERFACE:${ka_whole};${ka_exported_names}>")
foreach(t ${ka_installed_units})
  target_sources(ka_all INTERFACE "$<BUILD_INTERFACE:$<TARGET_OBJECTS:${t}>>")
endforeach()
add_library(KarvoVCL::KarvoVCL ALIAS ka_all)

install(TARGETS ka_options ${ka_installed_units} ka_all EXPORT KarvoVCLTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY framework/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/framework FILES_MATCHING PATTERN "*.h")
install(DIRECTORY lib/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lib FILES_MATCHING PATTERN "*.h")

set(ka_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/KarvoVCL)
install(EXPORT KarvoVCLTargets NAMESPACE KarvoVCL:: DESTINATION ${ka_package_dir})
configure_package_config_file(cmake/KarvoVCLConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/KarvoVCLConfig.cmake INSTALL_DESTINATION ${ka_package_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/KarvoVCLConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/KarvoVCLConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/KarvoVCLConfigVersion.cmake
  cmake/KaProgram.cmake cmake/KaLayouts.cmake
  DESTINATION ${ka_package_dir})
install(FILES resources/manifest.rc resources/app.manifest resources/version.rc.in
  DESTINATION ${ka_package_dir}/resources)
