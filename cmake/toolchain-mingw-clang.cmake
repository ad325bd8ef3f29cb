# The Windows program built by clang instead of GCC, against the same MinGW-w64
# headers and GCC's libstdc++ (clang has no C++ library of its own here):
#   -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-clang.cmake -DORV_MINGW_TRIPLE=i686-w64-mingw32
# (default x86_64-w64-mingw32). A second compiler finds what one lets pass.
set(ORV_MINGW_TRIPLE "x86_64-w64-mingw32" CACHE STRING "MinGW-w64 target triple")
# try_compile projects read this file again and need the triple too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORV_MINGW_TRIPLE)
set(triple ${ORV_MINGW_TRIPLE})
string(REGEX MATCH "^[^-]+" arch "${triple}")

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${arch})
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_SYSROOT /usr/${triple})
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR "env;WINEDEBUG=-all;wine")

# GCC's posix-threads libstdc++ for the same target.
set(gcc_lib /usr/lib/gcc/${triple}/12-posix)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${gcc_lib}/include/c++ -isystem ${gcc_lib}/include/c++/${triple} -isystem ${gcc_lib}/include/c++/backward")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -static -L${gcc_lib} -Wl,--start-group -lwinpthread -lgcc -lgcc_eh -Wl,--end-group")
