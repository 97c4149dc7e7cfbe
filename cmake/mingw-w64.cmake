# Cross-compiles Win32 code on Debian with mingw-w64 (posix threads) and runs what
# it builds under wine, so that CTest can execute the Windows tests on this host.
# The compilers and find paths are those Qt for Windows is built with.
include(${CMAKE_CURRENT_LIST_DIR}/WindowsQtToolchain.cmake)

# Static runtime: the executables then need no mingw DLLs beside them under wine. For the
# Qt-less services tests only: the program itself links Qt's DLLs, which load the shared
# libstdc++-6.dll, and is built with cmake/WindowsQtToolchain.cmake through Qt's qt-cmake.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(HOPTRACE_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${HOPTRACE_WINE})
