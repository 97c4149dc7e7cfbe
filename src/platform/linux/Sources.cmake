target_sources(hoptrace_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/LinuxAdapterList.h ${CMAKE_CURRENT_LIST_DIR}/LinuxAdapterList.cpp)
target_sources(hoptrace_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/NetworkManagerWlan.h ${CMAKE_CURRENT_LIST_DIR}/NetworkManagerWlan.cpp)
