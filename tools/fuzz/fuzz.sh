#!/usr/bin/env bash
# Fuzz targets for every reader of outside data, built with clang's libFuzzer and the address
# and undefined-behaviour sanitizers into build-fuzz/ (a developer's tool; CI does not run it).
#
#   tools/fuzz/fuzz.sh build                 configure and build the targets and the seed writer
#   tools/fuzz/fuzz.sh seeds                 write the seed corpus (build-fuzz/seeds/<target>)
#   tools/fuzz/fuzz.sh run TARGET SECONDS [libFuzzer options...]
#                                            fuzz one target for that long
#   tools/fuzz/fuzz.sh list                  the targets
#
# Targets: rpp (prepared report: load, restore, draw, text and RTF export), template (read and
# build), rtf (the RTF reader), wmf (an old Windows metafile picture: checked, converted, drawn),
# datafile (.dxml), settings (the INI file), layout (SiloBins.xml).
# A run keeps what it learns in build-fuzz/corpus/<target> and writes each input that crashed,
# hung (-timeout, 10 s) or took too much memory (-rss_limit_mb, 512 MB) into
# build-fuzz/findings/<target>/; run the target on that file alone to see the fault again:
#   build-fuzz/tools/fuzz/fuzz_<target> build-fuzz/findings/<target>/crash-...
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-fuzz
targets=(rpp template rtf wmf datafile settings layout)

usage()
{
    sed -n '4,10p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

build()
{
    local flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    local launcher=()
    command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" \
        "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags" \
        -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
        -DTZ_BUILD_FUZZ=ON -DTZ_BUILD_TESTS=OFF -DTZ_BUILD_BENCH=OFF >/dev/null
    # The report engine's targets first: they need neither the core nor the application.
    cmake --build "$build" --parallel "${TZ_BUILD_JOBS:-3}" --target fuzz_rpp fuzz_template fuzz_rtf fuzz_wmf
    cmake --build "$build" --parallel "${TZ_BUILD_JOBS:-3}" --target fuzz_seeds "${targets[@]/#/fuzz_}"
}

seeds()
{
    rm -rf "$build/seeds"
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" QT_QPA_PLATFORM=offscreen "$build/tools/fuzz/fuzz_seeds" "$build/seeds" >/dev/null
    ls "$build/seeds"/*
}

run()
{
    local target=$1 seconds=$2
    shift 2
    [[ " ${targets[*]} " == *" $target "* ]] || usage
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    # Qt's own caches look like leaks. The sanitizer's quarantine of freed memory is kept small,
    # and what it frees goes back to the system, so that the memory limit measures what an input
    # takes, not what earlier ones freed (else a long run ends at the limit with a live heap of a
    # few tens of megabytes).
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:quarantine_size_mb=64:allocator_release_to_os_interval_ms=1000}" \
        QT_QPA_PLATFORM=offscreen \
        "$build/tools/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=512 -timeout=10 \
        -artifact_prefix="$build/findings/$target/" "$@" "$build/corpus/$target" "$build/seeds/$target"
}

case "${1:-}" in
build) build ;;
seeds) seeds ;;
run) [[ $# -ge 3 ]] || usage; shift; run "$@" ;;
list) printf '%s\n' "${targets[@]}" ;;
*) usage ;;
esac
