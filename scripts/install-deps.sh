#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need; only missing ones.
# With --list it names them instead, one a line.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-charts-dev qt6-translations-l10n libqt6opengl6-dev libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
    libgl-dev libgtest-dev libbenchmark-dev libsqlite3-dev libpq-dev
    qt6-svg-dev libemf2svg-dev libwmf-dev libcups2-dev
    fonts-liberation fonts-dejavu-core xvfb xauth
    dbus-daemon
    postgresql
)

if [ "${1:-}" = "--list" ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
