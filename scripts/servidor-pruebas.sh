#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for the tests, listening only on a Unix socket of its own.
#   scripts/servidor-pruebas.sh start DIR   initializes (once) and starts it, prints its URI
#   scripts/servidor-pruebas.sh stop DIR    stops it and removes everything it made
#   scripts/servidor-pruebas.sh uri DIR     prints the URI it has or will have, changing nothing
# The cluster trusts every local user but role `clave` (password `secreta`), which must give its
# password: that is how the tests see a refused authentication. It keeps no data worth a sync.
set -euo pipefail

uso() {
  echo "uso: $0 start|stop|uri CARPETA" >&2
  exit 2
}
[ $# -eq 2 ] || uso
orden=$1
dir=$2
case $orden in start | stop | uri) ;; *) uso ;; esac
[ -n "$dir" ] || uso
case $dir in /*) ;; *) dir="$PWD/$dir" ;; esac

# The port only names the socket file in the cluster's own folder, so it never meets another
# server and needs no search for a free one.
puerto=5432

fallo() {
  echo "servidor-pruebas: $*" >&2
  exit 1
}

# The server refuses to run as root: root hands the cluster to nobody.
if [ "$(id -u)" -eq 0 ]; then
  como=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  como=()
fi

# Where the cluster lives: DIR itself, unless the socket's path would pass the ~100 bytes a Unix
# socket address holds, the path has characters a URI would need escaped, or the server's user
# cannot reach it (a build under /root). Then a short folder under /tmp, named after DIR so that
# `uri`, `start` and `stop` agree on it.
casa() {
  local alternativa="/tmp/modelo-pg-$(printf '%s' "$dir" | sha256sum | cut -c1-12)"
  if [ ${#dir} -gt 80 ] || [[ ! $dir =~ ^[A-Za-z0-9/._-]+$ ]]; then
    echo "$alternativa"
    return
  fi
  local padre
  padre=$(dirname "$dir")
  while [ ! -d "$padre" ]; do padre=$(dirname "$padre"); done
  if [ ${#como[@]} -gt 0 ] && ! "${como[@]}" test -x "$padre"; then
    echo "$alternativa"
    return
  fi
  echo "$dir"
}
casa=$(casa)
datos="$casa/datos"
uri="postgresql:///modelo?host=$casa&port=$puerto&user=modelo"

# The binaries of the newest installed major version, where the client's pg_config does not
# name them.
bin=""
if command -v pg_config >/dev/null && [ -x "$(pg_config --bindir)/initdb" ]; then
  bin=$(pg_config --bindir)
else
  for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    if [ -x "$d/initdb" ]; then
      bin=$d
      break
    fi
  done
fi

corriendo() {
  [ -n "$bin" ] && [ -f "$datos/postmaster.pid" ] &&
    (cd / && "${como[@]}" "$bin/pg_ctl" status -D "$datos" >/dev/null 2>&1)
}

# Nothing in the cluster is worth a clean shutdown.
parar() {
  (cd / && "${como[@]}" "$bin/pg_ctl" stop -D "$datos" -m immediate -w -t 30 >/dev/null)
}

case $orden in
uri)
  echo "$uri"
  ;;

stop)
  if corriendo; then
    parar || fallo "no se pudo parar el servidor de $datos"
  fi
  rm -rf "$casa"
  [ "$casa" = "$dir" ] || rm -rf "$dir"
  ;;

start)
  [ -n "$bin" ] || fallo "no hay servidor PostgreSQL instalado (paquete Debian postgresql)"
  mkdir -p "$dir"
  if corriendo; then
    if [ -f "$casa/.lista" ]; then
      echo "$uri"
      exit 0
    fi
    parar || fallo "no se pudo parar el servidor a medio preparar de $datos"
  fi
  # A cluster whose preparation was cut off is made again: nothing in it is kept.
  if [ ! -f "$casa/.lista" ]; then
    rm -rf "$casa"
    mkdir -p "$casa"
    chmod 755 "$casa"
    [ ${#como[@]} -eq 0 ] || chown 65534:65534 "$casa"
    (cd / && "${como[@]}" "$bin/initdb" -D "$datos" --locale=C -E UTF8 -U modelo --auth=trust \
      --no-sync >"$casa/initdb.log" 2>&1) || {
      cat "$casa/initdb.log" >&2
      fallo "initdb falló en $datos"
    }
    cat >"$datos/pg_hba.conf" <<'EOF'
local all clave scram-sha-256
local all all   trust
EOF
    cat >>"$datos/postgresql.conf" <<EOF
listen_addresses = ''
unix_socket_directories = '$casa'
port = $puerto
fsync = off
full_page_writes = off
synchronous_commit = off
max_connections = 100
EOF
  fi
  # Logged to a file so that pg_ctl does not keep the caller's output open (ctest waits for it).
  (cd / && "${como[@]}" "$bin/pg_ctl" start -D "$datos" -l "$datos/servidor.log" -w -t 60 \
    >/dev/null) || {
    tail -n 20 "$datos/servidor.log" >&2 || true
    fallo "el servidor de $datos no arrancó"
  }
  if [ ! -f "$casa/.lista" ]; then
    psql=("$bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$casa" -p "$puerto" -U modelo)
    "${psql[@]}" -d postgres -c "CREATE ROLE clave LOGIN PASSWORD 'secreta'" \
      -c "CREATE DATABASE modelo" >/dev/null || fallo "no se pudo preparar la base modelo"
    touch "$casa/.lista"
  fi
  echo "$uri"
  ;;
esac
