# The program folder: the install step puts beside hoptrace.exe and hoptrace-cli.exe every
# file they load that a bare Windows PC lacks, gathered from the Qt they were built with and
# from the compiler. The same list on a Windows PC and in the cross build from Linux (where
# no windeployqt exists), so both give the same folder (docs/windows-build.md lists it).

# One C++ runtime in the process: the Qt DLLs load libstdc++-6.dll, so an executable that
# linked its own static copy would pass C++ objects and exceptions between two runtimes.
if(MINGW AND CMAKE_EXE_LINKER_FLAGS MATCHES "(^| )-static(-libstdc\\+\\+)?( |$)")
    message(FATAL_ERROR "The program links Qt's DLLs and so the shared C++ runtime: build it with "
                        "Qt's own toolchain (qt-cmake), not with a static runtime (${CMAKE_EXE_LINKER_FLAGS})")
endif()

# The Qt libraries the executables link, beside them.
foreach(module Core Gui Widgets Network)
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
endforeach()

# The plugins Qt loads at run time, each in the folder of its kind: the Windows platform and
# the native style (the classic Windows style is inside Qt6Widgets). The program reads no
# image file, so no image-format plugin: PNG, all Qt itself needs, is inside Qt6Gui. Qt 6.7
# renamed the native style's plugin (Vista to Modern).
if(TARGET Qt6::QModernWindowsStylePlugin)
    set(native_style QModernWindowsStylePlugin)
else()
    set(native_style QWindowsVistaStylePlugin)
endif()
set(HOPTRACE_QT_PLUGINS
    platforms QWindowsIntegrationPlugin
    styles ${native_style})
while(HOPTRACE_QT_PLUGINS)
    list(POP_FRONT HOPTRACE_QT_PLUGINS kind plugin)
    if(NOT TARGET Qt6::${plugin})
        message(FATAL_ERROR "Qt has no ${plugin} (${kind}): the program folder would lack it")
    endif()
    install(FILES $<TARGET_FILE:Qt6::${plugin}> DESTINATION ${kind})
endwhile()

# The compiler's runtime. MinGW: the C++, GCC and thread libraries the Qt DLLs were linked
# to, found where this compiler finds them. MSVC: the Visual C++ runtime DLLs.
if(MINGW)
    foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
            message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not find ${runtime}")
        endif()
        get_filename_component(path "${path}" REALPATH)
        install(FILES "${path}" DESTINATION .)
    endforeach()
elseif(MSVC)
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION .)
    include(InstallRequiredSystemLibraries)
endif()

# The DLLs gathered above carry their symbol tables; `cmake --install --strip` strips the
# executables, and this the rest, so that the folder is as small as the program needs.
if(CMAKE_STRIP AND MINGW)
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            file(GLOB_RECURSE dlls \"\${CMAKE_INSTALL_PREFIX}/*.dll\")
            foreach(dll \${dlls})
                execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${dll}\"
                                COMMAND_ERROR_IS_FATAL ANY)
            endforeach()
        endif()
    ")
endif()
