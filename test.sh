#!/usr/bin/env bash
# Builds everything and runs the whole test suite, on SQLite and on a private
# PostgreSQL server started for the run and stopped again afterwards.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"

build="${LUMORA_BUILD_DIR:-$top/build}"
pgdir="$build/postgres"
trap '"$top/scripts/postgres.sh" stop "$pgdir"' EXIT
port=$("$top/scripts/postgres.sh" start "$pgdir")
echo "PostgreSQL listening on 127.0.0.1:$port"

export CRM_TEST_PG="host=127.0.0.1 port=$port user=postgres dbname=postgres"
export CRM_TEST_PG_REQUIRED=1
export QTEST_DISABLE_STACK_DUMP=1
cd "$build"
ctest --output-on-failure --timeout 900 -j "$(nproc)" "$@"
