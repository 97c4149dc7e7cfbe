# One INTERFACE target carries the language standard, warnings and defines;
# every target of the project links it.
add_library(hoptrace_config INTERFACE)
target_compile_features(hoptrace_config INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

option(HOPTRACE_WERROR "Treat warnings as errors" OFF)
if(MSVC)
    target_compile_options(hoptrace_config INTERFACE /W4 /utf-8 $<$<BOOL:${HOPTRACE_WERROR}>:/WX>)
else()
    target_compile_options(hoptrace_config INTERFACE -Wall -Wextra $<$<BOOL:${HOPTRACE_WERROR}>:-Werror>)
endif()
target_compile_definitions(hoptrace_config INTERFACE
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_KEYWORDS
    $<$<PLATFORM_ID:Windows>:WIN32_LEAN_AND_MEAN NOMINMAX>)
