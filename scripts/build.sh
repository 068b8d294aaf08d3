#!/usr/bin/env bash
# Configures and builds the whole tree into build/ (warnings are errors).
# With "sanitize" it builds into build-sanitize/ instead, under the address and undefined-behaviour
# sanitizers (TZ_SANITIZE), everything the tests need and no benchmarks.
# Usage: scripts/build.sh [sanitize]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
options=()
case "${1:-}" in
    "") ;;
    sanitize) build=build-sanitize; options=(-DTZ_SANITIZE=ON -DTZ_BUILD_BENCH=OFF) ;;
    *) echo "usage: $0 [sanitize]" >&2; exit 2 ;;
esac
launcher=()
# A compiler cache, where the machine has one, makes rebuilds after a checkout cheap.
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTZ_WERROR=ON "${options[@]}" "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "${TZ_BUILD_JOBS:-$(nproc)}"
