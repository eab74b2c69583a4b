#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole test suite headless.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
"$src/scripts/install-deps.sh"
cmake -S "$src" -B "$src/build-test" -DCMAKE_BUILD_TYPE=Debug -DKELMO_SANITIZE=ON >/dev/null
# What CMake found must come from install-deps.sh, or a fresh machine stops where this one did not.
"$src/scripts/check-deps.sh" "$src/build-test/CMakeCache.txt"
cmake --build "$src/build-test" -j"$(nproc)"
cd "$src/build-test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
