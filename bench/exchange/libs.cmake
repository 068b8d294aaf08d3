target_link_libraries(bench_${name} PRIVATE tz_comm tz_ft3sim)
