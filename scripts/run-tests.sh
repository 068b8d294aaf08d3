#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds everything and runs every test; then builds the tree
# again under the address and undefined-behaviour sanitizers (build-sanitize/) and runs every
# test there too, where the first fault either sanitizer finds fails the test that met it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Tools only the tests use, not the program: LibreOffice Writer opens the RTF export and
# pdftotext reads PDF files (a test that finds them missing is skipped, saying so).
test_tools=(libreoffice-writer-nogui poppler-utils)
missing=()
for p in "${test_tools[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing for the tests: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
fi
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
# The database tests get a throwaway PostgreSQL server for the run.
scripts/with-postgres.sh ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 300
# Every test again under the sanitizers. A test, and every program it starts, which inherit these,
# stops at the first fault either sanitizer finds, with its stack; leaks are reported at exit,
# but for what the libraries keep for the life of the process (tests/lsan.supp). The build runs
# the test programs too, to list their tests.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
scripts/build.sh sanitize
scripts/with-postgres.sh ctest --test-dir build-sanitize --output-on-failure --parallel "$(nproc)" --timeout 300
