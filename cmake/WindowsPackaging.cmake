# The program on Windows: both executables with their icon and version record, the folder
# that holds the whole program (cmake --install), and from it a zip and an installer (cpack).
include(${CMAKE_CURRENT_LIST_DIR}/WindowsResources.cmake)

# (src/CMakeLists.txt makes hoptrace a WIN32 executable: no console window.)
hoptrace_add_windows_resources(hoptrace ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH})
hoptrace_add_windows_resources(hoptrace-cli ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH})

# hoptrace-cli is a console program beside it, on the same Qt libraries.
install(TARGETS hoptrace hoptrace-cli RUNTIME DESTINATION .)
include(${CMAKE_CURRENT_LIST_DIR}/WindowsDeployment.cmake)

# `cpack` in the build folder wraps the same install into Hoptrace-<version>-win64.zip and
# the installer Hoptrace-<version>-win64.exe (NSIS 3; `cpack -G WIX` gives an MSI with WiX 3).
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME Hoptrace)
set(CPACK_PACKAGE_VENDOR Tavik)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Set up Tavik devices on a local network")
set(CPACK_PACKAGE_FILE_NAME Hoptrace-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Tavik Hoptrace")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Tavik Hoptrace")
set(CPACK_PACKAGE_EXECUTABLES hoptrace "Tavik Hoptrace")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_LIST_DIR}/copyright.txt)
set(CPACK_NSIS_DISPLAY_NAME "Tavik Hoptrace")
set(CPACK_NSIS_PACKAGE_NAME "Tavik Hoptrace")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/app/resources/hoptrace.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/app/resources/hoptrace.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME hoptrace.exe)
# The executables sit at the top of the folder, not in bin\ (the Start menu entry points there).
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_WIX_PRODUCT_ICON ${PROJECT_SOURCE_DIR}/src/app/resources/hoptrace.ico)
# Fixed for ever: a newer installer replaces an installed older version instead of adding one.
set(CPACK_WIX_UPGRADE_GUID 5D0F8C3E-2B7A-4E61-9C1D-7A4B3E2F9016)

# The installer's own version record, in the form of the executables' (2.00.0006).
hoptrace_zero_pad(${PROJECT_VERSION_MINOR} 2 minor_text)
hoptrace_zero_pad(${PROJECT_VERSION_PATCH} 4 patch_text)
set(file_version "${PROJECT_VERSION_MAJOR}.${minor_text}.${patch_text}")
set(CPACK_NSIS_DEFINES "
  VIProductVersion \"${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.${PROJECT_VERSION_PATCH}\"
  VIAddVersionKey /LANG=1033 \"ProductName\" \"Tavik Hoptrace\"
  VIAddVersionKey /LANG=1033 \"CompanyName\" \"Tavik\"
  VIAddVersionKey /LANG=1033 \"FileDescription\" \"Tavik Hoptrace Setup\"
  VIAddVersionKey /LANG=1033 \"FileVersion\" \"${file_version}\"
  VIAddVersionKey /LANG=1033 \"ProductVersion\" \"${file_version}\"")

# The most common reason such a tool finds nothing is a firewall that drops the devices'
# replies: the installer lets both executables receive, and the uninstaller takes that back.
set(firewall_add "")
set(firewall_delete "")
foreach(exe hoptrace.exe hoptrace-cli.exe)
    set(rule "name=\"Tavik Hoptrace (${exe})\"")
    string(APPEND firewall_add "
  nsExec::ExecToLog 'netsh advfirewall firewall add rule ${rule} dir=in action=allow program=\"$INSTDIR\\${exe}\" enable=yes profile=any'
  Pop $0")
    string(APPEND firewall_delete "
  nsExec::ExecToLog 'netsh advfirewall firewall delete rule ${rule}'
  Pop $0")
endforeach()
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "${firewall_add}")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "${firewall_delete}")

# NSIS makes 32-bit installers unless told otherwise, and a 64-bit Windows without its 32-bit
# layer (wine64 alone, say) cannot start them. Debian's makensis carries the 64-bit stubs:
# CPack's own script template with the target set at its top. (The NSIS for Windows has no
# 64-bit stubs; its 32-bit installer installs the same 64-bit program.)
if(CMAKE_HOST_WIN32)
    set(default_target "")
else()
    set(default_target amd64-unicode)
endif()
set(HOPTRACE_NSIS_TARGET "${default_target}" CACHE STRING "makensis Target of the installer (empty: NSIS's default)")
if(HOPTRACE_NSIS_TARGET)
    set(template ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in)
    file(READ ${template} text)
    set(first_line "; CPack install script designed for a nmake build")
    string(FIND "${text}" "${first_line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${template} does not start as expected; cannot set the installer's target")
    endif()
    string(REPLACE "${first_line}" "${first_line}\n  Target ${HOPTRACE_NSIS_TARGET}" text "${text}")
    file(WRITE ${CMAKE_BINARY_DIR}/nsis-template/NSIS.template.in "${text}")
    list(PREPEND CMAKE_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis-template)
endif()

set(CPACK_GENERATOR NSIS ZIP)
include(CPack)
