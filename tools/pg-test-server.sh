#!/usr/bin/env bash
# Starts or stops a scratch PostgreSQL server for the tests and the benchmarks: a data folder of
# its own, listening only on a Unix socket in that folder (no network port), owned by the
# unprivileged postgres user when run as root. Durability is off: the data is thrown away.
#   pg-test-server.sh start DIR [PORT]   prints the server's address (a libpq URI)
#   pg-test-server.sh stop DIR           stops it and removes DIR
# Without PostgreSQL's server programs, start says so and ends with 77 (the tests' "skipped").
set -euo pipefail
cmd=${1:-}; dir=${2:-}
if [ -z "$cmd" ] || [ -z "$dir" ]; then
    echo "uso: $0 start|stop CARPETA [PUERTO]" >&2
    exit 2
fi
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1 || true)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    if [ "$cmd" = start ]; then
        echo "PostgreSQL no está instalado (paquete postgresql): las pruebas en el servidor no se ejecutan" >&2
        exit 77
    fi
    rm -rf "$dir"
    exit 0
fi
# initdb refuses to run as root: root runs the server as postgres.
as_owner() {
    if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
# The superuser takes the name of whoever starts the server, so that the address needs none.
role=$(id -un)

stop() {
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
}

case "$cmd" in
start)
    port=${3:-5433}
    stop
    rm -rf "$dir"
    mkdir -p "$dir"
    [ "$(id -u)" = 0 ] && chown postgres:postgres "$dir"
    chmod 700 "$dir"
    as_owner "$bin/initdb" -D "$dir/data" -A trust -U "$role" -E UTF8 --locale=C.UTF-8 \
        >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    # The socket's folder must be reachable by the tests' user.
    chmod 711 "$dir"
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-k $dir -p $port -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
        start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
    echo "postgresql:///postgres?host=$dir&port=$port";;
stop)
    stop
    rm -rf "$dir";;
*)
    echo "uso: $0 start|stop CARPETA [PUERTO]" >&2
    exit 2;;
esac
