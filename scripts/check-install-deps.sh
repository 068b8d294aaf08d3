#!/usr/bin/env bash
# Fails when the build in <build folder> loaded a CMake package configuration file, or links a
# library of the system, that a fresh machine would lack: one that belongs to no Debian package
# installed by scripts/install-deps.sh, named there or pulled in by a named package's
# dependencies (Depends and Pre-Depends, followed to the end, as apt installs them without
# recommendations).
# Usage: scripts/check-install-deps.sh <build folder>
set -euo pipefail
build="${1:?usage: $0 <build folder>}"
cache="$build/CMakeCache.txt"
[ -f "$cache" ] && [ -f "$build/build.ninja" ] || { echo "no configured build in $build" >&2; exit 1; }
command -v dpkg-query >/dev/null || { echo "dpkg-query not found: not a Debian system" >&2; exit 1; }

# Installed packages: what each depends on, and the installed providers of each virtual name.
declare -A depends providers
# Fields hold package names only: "a (>= 1) | b:any, c" -> "a b c".
while IFS=';' read -r state package provides deps; do
    [ "$state" = "ii " ] || continue
    depends[$package]="$deps"
    for name in $package $provides; do
        providers[$name]+=" $package"
    done
done < <(dpkg-query -W -f='${db:Status-Abbrev};${Package};${Provides};${Depends}, ${Pre-Depends}\n' |
    sed -E 's/ *\([^)]*\)//g; s/:[a-z0-9]+//g; s/ *[,|] */ /g')

# Everything the install script brings in: its packages and, through every installed
# alternative of each dependency, theirs.
declare -A installs
queue=($("$(dirname "$0")/install-deps.sh" --list))
while [ ${#queue[@]} -gt 0 ]; do
    package="${queue[0]}"
    queue=("${queue[@]:1}")
    for provider in ${providers[$package]:-}; do
        [ -z "${installs[$provider]:-}" ] || continue
        installs[$provider]=1
        queue+=(${depends[$provider]})
    done
done

# The configuration files the build loaded: <Name>_DIR entries that hold <Name>Config.cmake
# or <name>-config.cmake.
files=()
while IFS='=' read -r entry dir; do
    name="${entry%_DIR:PATH}"
    for file in "$dir/${name}Config.cmake" "$dir/${name,,}-config.cmake"; do
        [ -f "$file" ] && files+=("$file")
    done
done < <(grep -E '^[A-Za-z0-9_]+_DIR:PATH=' "$cache")
[ ${#files[@]} -gt 0 ] || { echo "$cache names no package configuration" >&2; exit 1; }
# The system's libraries on the link lines, found by configuration files and find modules alike.
files+=($(grep -ohE '(^| )/(usr/)?lib/[^ ]+\.(so|a)(\.[0-9]+)*' "$build/build.ninja" | sort -u))

# Each must belong to a package installed that way ("owner[:arch]: file").
status=0
declare -A owned
while IFS= read -r line; do
    file="${line#*: }"
    owner="${line%%: *}"
    owned[$file]=1
    if [ -z "${installs[${owner%%:*}]:-}" ]; then
        echo "$file belongs to ${owner%%:*}, which scripts/install-deps.sh does not install" >&2
        status=1
    fi
done < <(dpkg-query -S "${files[@]}" 2>/dev/null || true)
for file in "${files[@]}"; do
    if [ -z "${owned[$file]:-}" ]; then
        echo "$file belongs to no Debian package" >&2
        status=1
    fi
done
exit $status
