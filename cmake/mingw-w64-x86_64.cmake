# Cross-compiles for 64-bit Windows with Debian's mingw-w64, in its POSIX
# threads flavour (std::thread and std::mutex need it):
#
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
#
# tools/build_windows.sh does this and more.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_prefix x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)
set(CMAKE_ASM_COMPILER ${mingw_prefix}-gcc-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything static: the .exe needs only the DLLs every Windows has, no
# libstdc++, libgcc or winpthread beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The programs built here run under Wine on this machine.
find_program(KORDAVAN_WINE NAMES wine)
if(KORDAVAN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KORDAVAN_WINE})
endif()
