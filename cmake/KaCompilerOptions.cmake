# Shared compile settings of every target: UTF-16 Win32 API, warnings high and treated as
# errors in our own code, no min/max macros. A program using the installed library takes the
# language level and the API definitions, not our warning flags.
add_library(ka_options INTERFACE)
target_compile_features(ka_options INTERFACE cxx_std_20)
target_compile_definitions(ka_options INTERFACE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
if(MSVC)
  target_compile_options(ka_options INTERFACE /utf-8 /Zc:__cplusplus "$<BUILD_INTERFACE:/W4;/permissive->")
else()
  target_compile_options(ka_options INTERFACE "$<BUILD_INTERFACE:-Wall;-Wextra;-Wpedantic;-Wno-unused-parameter;-Wno-missing-field-initializers;-Wno-cast-function-type>")
  if(KA_WERROR)
    target_compile_options(ka_options INTERFACE $<BUILD_INTERFACE:-Werror>)
  endif()
endif()
