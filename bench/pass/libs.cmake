target_link_libraries(bench_${name} PRIVATE tz_core tz_ft3sim)
