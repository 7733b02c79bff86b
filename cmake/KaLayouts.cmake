# Layouts embedded in programs; installed with the library for programs outside the tree.

# ka_expand_layout(<file> <out-var>): a layout may carry a binary value as a reference to a
# file of the repository, `Data = {@resources/lottie/Menu.json}`, so the pictures and
# animations a window shows are kept once, as the files they are. The references are replaced
# by the files' bytes in hexadecimal (the form the layout reader takes) in a copy in the build
# tree, of the same file name; <out-var> names the file to embed (the original when it has no
# references). Changing the layout or a file it refers to configures again.
function(ka_expand_layout file out_var)
  if(NOT file MATCHES "\\.layout$")
    set(${out_var} "${file}" PARENT_SCOPE)
    return()
  endif()
  file(READ "${file}" text)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
  string(REGEX MATCHALL "{@[^}]+}" refs "${text}")
  if(NOT refs)
    set(${out_var} "${file}" PARENT_SCOPE)
    return()
  endif()
  list(REMOVE_DUPLICATES refs)
  foreach(ref ${refs})
    string(REGEX REPLACE "^{@(.*)}$" "\\1" path "${ref}")
    set(data "${PROJECT_SOURCE_DIR}/${path}")
    if(NOT EXISTS "${data}")
      message(FATAL_ERROR "${file}: ${ref} refers to a file that does not exist")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${data}")
    file(READ "${data}" hex HEX)
    string(TOUPPER "${hex}" hex)
    string(REPLACE "${ref}" "{${hex}}" text "${text}")
  endforeach()
  get_filename_component(name "${file}" NAME)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/expanded-layouts/${name}")
  # Written only when it changes, so an unchanged layout does not relink the programs.
  set(old "")
  if(EXISTS "${out}")
    file(READ "${out}" old)
  endif()
  if(NOT old STREQUAL text)
    file(WRITE "${out}" "${text}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

# ka_add_layouts(<target> <rc-name> files...): embeds layout text files as RCDATA resources
# named after the file (without extension, upper case), so forms find them by class name.
function(ka_add_layouts target)
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_layouts.rc")
  set(content "")
  foreach(f ${ARGN})
    get_filename_component(abs ${f} ABSOLUTE)
    ka_expand_layout("${abs}" abs)
    get_filename_component(name ${f} NAME_WE)
    string(TOUPPER ${name} upper)
    string(APPEND content "${upper} RCDATA \"${abs}\"\n")
    set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${abs})
  endforeach()
  file(GENERATE OUTPUT ${rc} CONTENT "${content}")
  target_sources(${target} PRIVATE ${rc})
endfunction()

