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
