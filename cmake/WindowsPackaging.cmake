# The program on Windows: a GUI executable with its icon and version record, and an
# install step that gathers the Qt libraries and plugins beside it (windeployqt).
include(${CMAKE_CURRENT_LIST_DIR}/WindowsResources.cmake)

# (src/CMakeLists.txt makes hoptrace a WIN32 executable: no console window.)
hoptrace_add_windows_resources(hoptrace ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH})

# Qt 6.4 ships windeployqt with its tools in the Qt bin folder.
find_program(HOPTRACE_WINDEPLOYQT NAMES windeployqt windeployqt6
    HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" "${Qt6_DIR}/../../../bin" REQUIRED)

# hoptrace-cli is a console program beside it, on the same Qt libraries.
install(TARGETS hoptrace hoptrace-cli RUNTIME DESTINATION .)
install(CODE "
    execute_process(
        COMMAND \"${HOPTRACE_WINDEPLOYQT}\" --no-translations
                \"\${CMAKE_INSTALL_PREFIX}/$<TARGET_FILE_NAME:hoptrace>\"
        COMMAND_ERROR_IS_FATAL ANY)
")

# The installer: `cpack -G NSIS` (NSIS 3) or `cpack -G WIX` (WiX 3) in the build folder
# gathers the same install, Qt runtime included, into one setup file with a Start menu entry
# and an uninstaller (docs/windows-build.md).
set(CPACK_PACKAGE_NAME Hoptrace)
set(CPACK_PACKAGE_VENDOR Tavik)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Set up Tavik devices on a local network")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Tavik Hoptrace")
set(CPACK_PACKAGE_EXECUTABLES hoptrace "Tavik Hoptrace")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_LIST_DIR}/copyright.txt)
set(CPACK_NSIS_DISPLAY_NAME "Tavik Hoptrace")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/app/resources/hoptrace.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/app/resources/hoptrace.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME hoptrace.exe)
set(CPACK_WIX_PRODUCT_ICON ${PROJECT_SOURCE_DIR}/src/app/resources/hoptrace.ico)
# Fixed for ever: a newer installer replaces an installed older version instead of adding one.
set(CPACK_WIX_UPGRADE_GUID 5D0F8C3E-2B7A-4E61-9C1D-7A4B3E2F9016)
set(CPACK_GENERATOR NSIS)
include(CPack)
