#!/usr/bin/env bash
# Configures (once) and builds the project into build/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="${LUMORA_BUILD_DIR:-$top/build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$(nproc)"
