target_sources(hoptrace_core PRIVATE
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
    ${CMAKE_CURRENT_LIST_DIR}/PingProgramEcho.h ${CMAKE_CURRENT_LIST_DIR}/PingProgramEcho.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UniqueFd.h)
target_sources(hoptrace_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/NetworkManagerWlan.h ${CMAKE_CURRENT_LIST_DIR}/NetworkManagerWlan.cpp)
