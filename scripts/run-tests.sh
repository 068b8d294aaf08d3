#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds everything and runs every test.
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
