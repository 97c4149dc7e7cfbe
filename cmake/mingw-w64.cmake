# Cross-compiles Win32 code on Debian with mingw-w64 (posix threads) and runs what
# it builds under wine, so that CTest can execute the Windows tests on this host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HOPTRACE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HOPTRACE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HOPTRACE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${HOPTRACE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HOPTRACE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the executables then need no mingw DLLs beside them under wine. For the
# Qt-less services tests only: the program itself links Qt's DLLs, which load the shared
# libstdc++-6.dll, and is built with cmake/WindowsQtToolchain.cmake through Qt's qt-cmake.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(HOPTRACE_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${HOPTRACE_WINE})
