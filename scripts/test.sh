#!/usr/bin/env bash
# Builds and runs every test: the macOS build (universal .mxo bundles and Pd externals, checked
# with LLVM's tools), the debug build, the ThreadSanitizer build (concurrency tests), the
# AddressSanitizer + UndefinedBehaviorSanitizer build (all tests), the Windows build (mingw-w64
# cross build: the suites, the objects' scripts and the .mxe64 export checks, run under Wine) and a
# clang build of the whole project with warnings as errors, whose tests run too.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/install-macos-toolchain.sh
jobs=$(nproc 2>/dev/null || echo 2)
# macos first: the other configurations add its Pd externals to their Pd package.
presets=(macos debug tsan asan windows clang)

for preset in "${presets[@]}"; do
  echo "=== ${preset} build ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

status=0
for preset in "${presets[@]}"; do
  echo "=== ${preset} tests ==="
  ctest --preset "$preset" -j "$jobs" || status=1
done
exit $status
