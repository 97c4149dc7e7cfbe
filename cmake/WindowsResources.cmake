# The Windows executable's resources: the program icon and a version record whose
# file version reads major.minor.patch as "2.00.0006" (minor two digits, patch four).

set(HOPTRACE_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../src/app/resources)

function(hoptrace_zero_pad value width out)
    string(LENGTH "${value}" length)
    while(length LESS width)
        string(PREPEND value "0")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

# hoptrace_add_windows_resources(<target> <major> <minor> <patch>)
function(hoptrace_add_windows_resources target major minor patch)
    hoptrace_zero_pad(${minor} 2 minor_text)
    hoptrace_zero_pad(${patch} 4 patch_text)
    set(HOPTRACE_RC_VERSION_MAJOR ${major})
    set(HOPTRACE_RC_VERSION_MINOR ${minor})
    set(HOPTRACE_RC_VERSION_PATCH ${patch})
    set(HOPTRACE_RC_FILE_VERSION "${major}.${minor_text}.${patch_text}")
    set(HOPTRACE_RC_ORIGINAL_FILENAME "${target}.exe")
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
    # The icon beside the generated script, so the resource compiler finds it by name.
    configure_file(${HOPTRACE_RESOURCE_DIR}/hoptrace.ico ${dir}/hoptrace.ico COPYONLY)
    configure_file(${HOPTRACE_RESOURCE_DIR}/hoptrace.rc.in ${dir}/hoptrace.rc @ONLY)
    target_sources(${target} PRIVATE ${dir}/hoptrace.rc)
endfunction()
