target_sources(hoptrace_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/LinuxNetwork.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ArpingProgram.h ${CMAKE_CURRENT_LIST_DIR}/ArpingProgram.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChildProcess.h ${CMAKE_CURRENT_LIST_DIR}/ChildProcess.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DefaultGateways.h ${CMAKE_CURRENT_LIST_DIR}/DefaultGateways.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EchoMethod.h
    ${CMAKE_CURRENT_LIST_DIR}/IcmpEcho.h ${CMAKE_CURRENT_LIST_DIR}/IcmpEcho.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LinuxAdapterList.h ${CMAKE_CURRENT_LIST_DIR}/LinuxAdapterList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LinuxCommandRunner.h ${CMAKE_CURRENT_LIST_DIR}/LinuxCommandRunner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LinuxEchoTest.h ${CMAKE_CURRENT_LIST_DIR}/LinuxEchoTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LinuxNeighbourTable.h ${CMAKE_CURRENT_LIST_DIR}/LinuxNeighbourTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LinuxTempDir.h ${CMAKE_CURRENT_LIST_DIR}/LinuxTempDir.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LinuxUdpSocket.h ${CMAKE_CURRENT_LIST_DIR}/LinuxUdpSocket.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NetlinkDump.h ${CMAKE_CURRENT_LIST_DIR}/NetlinkDump.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PingProgramEcho.h ${CMAKE_CURRENT_LIST_DIR}/PingProgramEcho.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UniqueFd.h
    ${CMAKE_CURRENT_LIST_DIR}/Utf8Locale.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Interruption.cpp)
# The WLAN service is NetworkManager's, reached over the system bus: the desktop part's.
find_package(Qt6 REQUIRED COMPONENTS DBus)
target_link_libraries(hoptrace_desktop PUBLIC Qt6::DBus)
target_sources(hoptrace_desktop PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/LinuxPlatform.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NetworkManagerWlan.h ${CMAKE_CURRENT_LIST_DIR}/NetworkManagerWlan.cpp)
