# The program as a Linux desktop program: the executable, its desktop entry, its icon in
# the hicolor theme and its AppStream metainfo, packaged for Debian by CPack
# (`./hoptrace-dev package`, or `cpack -G DEB` in the build folder).
include(GNUInstallDirs)

set(HOPTRACE_APP_ID com.tavik.Hoptrace)
set(HOPTRACE_MAINTAINER "Tavik Hoptrace developers <hoptrace@tavik.com>")
# SOURCE_DATE_EPOCH, where set, makes the dates (and so the package) reproducible.
string(TIMESTAMP HOPTRACE_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP HOPTRACE_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(linux_dir ${CMAKE_CURRENT_LIST_DIR}/linux)
set(generated ${CMAKE_BINARY_DIR}/linux)
configure_file(${linux_dir}/${HOPTRACE_APP_ID}.metainfo.xml.in ${generated}/${HOPTRACE_APP_ID}.metainfo.xml @ONLY)
configure_file(${linux_dir}/changelog.in ${generated}/changelog @ONLY)
configure_file(${linux_dir}/hoptrace.1 ${generated}/hoptrace.1 COPYONLY)
configure_file(${linux_dir}/hoptrace-cli.1 ${generated}/hoptrace-cli.1 COPYONLY)
# Debian wants these compressed, without a time stamp in the gzip header.
execute_process(COMMAND gzip -9 -n -f ${generated}/changelog ${generated}/hoptrace.1 ${generated}/hoptrace-cli.1
                COMMAND_ERROR_IS_FATAL ANY)

# The window and the command line for scripts, each with its manual page.
install(TARGETS hoptrace hoptrace-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${linux_dir}/${HOPTRACE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${HOPTRACE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/app/resources/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${generated}/hoptrace.1.gz ${generated}/hoptrace-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/hoptrace)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/hoptrace RENAME copyright)

# Installing builds only the programs (the package command builds them first): the tests
# are not part of the package and need not be built for it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hoptrace)
set(CPACK_PACKAGE_VENDOR Tavik)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set up Tavik devices on a local network")
set(CPACK_PACKAGE_DESCRIPTION
    "A utility for the technician who sets up Tavik devices on a LAN: it finds\n"
    "the Tavik webservers by broadcast out of every adapter and lists them,\n"
    "reboots a selected one or gives it a fixed IP configuration or DHCP,\n"
    "shows the PC's own adapters, tests addresses by ping and brings up the\n"
    "Murel Wi-Fi gateway's setup portal.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "${HOPTRACE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries from the executable's own links; the X platform plugin lives in libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Wi-Fi gateway's set-up goes through NetworkManager, the ping test falls back to ping,
# and the free-address test asks by ARP with iputils' arping (without it, the neighbour table
# decides); searching and managing webservers needs none of them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "network-manager, iputils-ping, iputils-arping")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fonts-liberation2")
include(CPack)
