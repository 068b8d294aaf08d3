#!/usr/bin/env bash
# Configures and builds the whole tree into build/ (warnings are errors).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
# A compiler cache, where the machine has one, makes rebuilds after a checkout cheap.
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTZ_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build --parallel "${TZ_BUILD_JOBS:-$(nproc)}"
