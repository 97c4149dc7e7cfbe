# Filled by the Windows backend.
target_sources(hoptrace_core PRIVATE)
