#!/usr/bin/env bash
# Runs a command with a throwaway PostgreSQL server for the database tests, then stops the server
# and removes it. The server listens only on a Unix socket in its own temporary folder; the
# command finds it through TZ_TEST_POSTGRES, a connection string as the program's settings keep it.
# Usage: scripts/with-postgres.sh <command> [arguments...]
set -euo pipefail

bindir=""
if command -v pg_config >/dev/null 2>&1 && [ -x "$(pg_config --bindir)/initdb" ]; then
    bindir="$(pg_config --bindir)"
fi
if [ -z "$bindir" ]; then
    bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)"
fi
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
    echo "with-postgres: PostgreSQL server programs not found (install the postgresql package)" >&2
    exit 1
fi

# The server refuses to run as root: run it as an unprivileged user then.
as_user=()
owner="$(id -un)"
if [ "$(id -u)" -eq 0 ]; then
    if id postgres >/dev/null 2>&1; then owner=postgres; else owner=nobody; fi
    as_user=(runuser -u "$owner" --)
fi

dir="$(mktemp -d /tmp/tz-postgres.XXXXXX)"
chmod 700 "$dir"
[ "$owner" = "$(id -un)" ] || chown "$owner" "$dir"
port=5432

cleanup() {
    "${as_user[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$dir"
}
trap cleanup EXIT

"${as_user[@]}" "$bindir/initdb" -D "$dir/data" -U tz --auth=trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
"${as_user[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses='' -c unix_socket_directories='$dir' -p $port -c fsync=off" start >/dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }

export TZ_TEST_POSTGRES="Provider=PostgreSQL;Data Source=$dir;Port=$port;Initial Catalog=postgres;User ID=tz"
"$@"
