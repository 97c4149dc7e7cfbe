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

# The libFuzzer targets of tests/fuzz (make fuzz): clang, with everything built under
# AddressSanitizer and UndefinedBehaviorSanitizer.
option(HOPTRACE_FUZZ "Build the fuzz targets; needs clang" OFF)
if(HOPTRACE_FUZZ)
    add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
