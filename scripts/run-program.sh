#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the program and starts it.
# Extra arguments go to the program (for example: no_com debug).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(no_com)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting the program on a virtual X server."
    exec xvfb-run -a build/app/Tavik_zuzid "${args[@]}"
fi
exec build/app/Tavik_zuzid "${args[@]}"
