target_link_libraries(bench_${name} PRIVATE tz_app)
