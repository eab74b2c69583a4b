#!/usr/bin/env bash
# Builds the program and starts it in the current folder, on an empty register in ./Data when there is none.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
"$src/scripts/install-deps.sh"
cmake -S "$src" -B "$src/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELMO_TESTS=OFF >/dev/null
cmake --build "$src/build" -j"$(nproc)"
[ -e Data/KELMODB.db ] || "$src/build/tools/kelmo_register" create Data
exec "$src/build/kelmo" "$@"
