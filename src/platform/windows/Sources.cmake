# The Windows implementations: Win32 and the standard library only, no Qt, so that
# tests/windows builds this same list with mingw-w64 and runs it under wine. The Qt
# services are joined to them in WindowsPlatform.cpp, which only the Qt build compiles.
set(HOPTRACE_WINDOWS_PLATFORM_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/WindowsAdapterList.h ${CMAKE_CURRENT_LIST_DIR}/WindowsAdapterList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowsEchoTest.h ${CMAKE_CURRENT_LIST_DIR}/WindowsEchoTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowsNeighbourTable.h ${CMAKE_CURRENT_LIST_DIR}/WindowsNeighbourTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowsCommandRunner.h ${CMAKE_CURRENT_LIST_DIR}/WindowsCommandRunner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowsTempDir.h ${CMAKE_CURRENT_LIST_DIR}/WindowsTempDir.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SendInterface.h ${CMAKE_CURRENT_LIST_DIR}/SendInterface.cpp)
# The desktop part: Wi-Fi and the browser, for the window alone.
set(HOPTRACE_WINDOWS_DESKTOP_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/WindowsWlan.h ${CMAKE_CURRENT_LIST_DIR}/WindowsWlan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowsUrlOpener.h ${CMAKE_CURRENT_LIST_DIR}/WindowsUrlOpener.cpp)
set(HOPTRACE_WINDOWS_PLATFORM_LIBS iphlpapi ws2_32 advapi32)
set(HOPTRACE_WINDOWS_DESKTOP_LIBS wlanapi shell32)

if(NOT HOPTRACE_WINDOWS_PLATFORM_ONLY)
    target_sources(hoptrace_platform PRIVATE ${HOPTRACE_WINDOWS_PLATFORM_SOURCES}
        ${CMAKE_CURRENT_LIST_DIR}/WindowsNetwork.cpp ${CMAKE_CURRENT_LIST_DIR}/Utf8Locale.cpp
        ${CMAKE_CURRENT_LIST_DIR}/Interruption.cpp)
    target_link_libraries(hoptrace_platform PUBLIC ${HOPTRACE_WINDOWS_PLATFORM_LIBS})
    target_sources(hoptrace_desktop PRIVATE ${HOPTRACE_WINDOWS_DESKTOP_SOURCES}
        ${CMAKE_CURRENT_LIST_DIR}/WindowsPlatform.cpp)
    target_link_libraries(hoptrace_desktop PUBLIC ${HOPTRACE_WINDOWS_DESKTOP_LIBS})
endif()
