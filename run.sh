#!/usr/bin/env bash
# Builds the program and starts it on an SQLite database with demonstration
# data in var/, created on the first run.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"

build="${LUMORA_BUILD_DIR:-$top/build}"
var="$top/var"
mkdir -p "$var"
if [ ! -f "$var/Connect.udl" ]; then
  echo "Creating the demonstration database in $var (user admin, no password)"
  "$build/bin/lumora-crm-initdb" --sqlite "$var/crm.db" --udl "$var/Connect.udl" \
    --admin admin --demo "${LUMORA_DEMO_CLIENTS:-300}"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display (DISPLAY is not set); start it from a desktop session or under xvfb-run" >&2
  exit 1
fi
cd "$var"
exec "$build/bin/lumora-crm" "$@"
