target_link_libraries(bench_${name} PRIVATE tz_report tz_report_print tz_report_ui)
