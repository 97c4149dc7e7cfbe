# The toolchain that Qt for Windows is built with (scripts/build-qt-windows.sh copies it
# beside that Qt, whose qt-cmake then loads it for every project built on it): mingw-w64 with
# posix threads, and the C++ runtime as DLLs, so that Qt and the program share one.
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
