#!/usr/bin/env bash
# Builds and runs every test: the debug build, the ThreadSanitizer build (concurrency tests), the
# AddressSanitizer + UndefinedBehaviorSanitizer build (all tests) and the Windows build (mingw-w64
# cross build: the suites, the objects' scripts and the .mxe64 export checks, run under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

for preset in debug tsan asan windows; do
  echo "=== ${preset} build ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

status=0
for preset in debug tsan asan windows; do
  echo "=== ${preset} tests ==="
  ctest --preset "$preset" -j "$jobs" || status=1
done
exit $status
