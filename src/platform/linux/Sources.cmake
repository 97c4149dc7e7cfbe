target_sources(hoptrace_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/LinuxAdapterList.h ${CMAKE_CURRENT_LIST_DIR}/LinuxAdapterList.cpp)
