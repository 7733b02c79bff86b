# Cross build for 64-bit Windows with clang, over the MinGW-w64 sysroot and its GCC runtime
# (libstdc++, winpthreads): the second compiler the project is checked with.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KA_MINGW_TRIPLE x86_64-w64-mingw32)
set(KA_MINGW_SYSROOT /usr/${KA_MINGW_TRIPLE})

find_program(CMAKE_C_COMPILER NAMES clang REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES clang++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KA_MINGW_TRIPLE}-windres REQUIRED)
set(CMAKE_C_COMPILER_TARGET ${KA_MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${KA_MINGW_TRIPLE})
set(CMAKE_SYSROOT ${KA_MINGW_SYSROOT})

# Debian's clang does not find the MinGW GCC's libstdc++ by itself (its folder carries the
# thread model in its name), so the C++ headers and the runtime folder are named here.
file(GLOB ka_gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${KA_MINGW_TRIPLE}/*-posix)
list(GET ka_gcc_dirs 0 KA_MINGW_GCC_DIR)
set(ka_cxx_include ${KA_MINGW_GCC_DIR}/include/c++)
set(CMAKE_CXX_FLAGS_INIT "-nostdinc++ -isystem ${ka_cxx_include} -isystem ${ka_cxx_include}/${KA_MINGW_TRIPLE} -isystem ${ka_cxx_include}/backward")
# libstdc++ of the posix thread model needs winpthreads; lld takes it in any position.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -static -L${KA_MINGW_GCC_DIR} -lpthread -Wno-unused-command-line-argument")

set(CMAKE_FIND_ROOT_PATH ${KA_MINGW_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
