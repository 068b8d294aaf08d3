#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
# The database tests get a throwaway PostgreSQL server for the run.
scripts/with-postgres.sh ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 300
