# Cross build for 32-bit Windows with MinGW-w64 (posix thread model, linked statically
# so the programs need no compiler DLLs under Wine or on Windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KA_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
