#!/usr/bin/env bash
# Builds and runs every test: the macOS build (universal .mxo bundles and Pd externals, checked
# with LLVM's tools), the debug build, the ThreadSanitizer build (concurrency tests), the
# AddressSanitizer + UndefinedBehaviorSanitizer build (all tests), the Windows build (mingw-w64
# cross build: the suites, the objects' scripts and the .mxe64 export checks, run under Wine) and a
# clang build of the whole project with warnings as errors, whose tests run too; then the
# model-file readers under libFuzzer.
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

status=0 passed=0 failed=0
summary=$(mktemp)
for preset in "${presets[@]}"; do
  echo "=== ${preset} tests ==="
  ctest --preset "$preset" -j "$jobs" | tee "$summary" || status=1
  # "100% tests passed, 0 tests failed out of 228"
  f=0 total=0
  read -r f total < <(sed -n 's/.* \([0-9][0-9]*\) tests failed out of \([0-9][0-9]*\).*/\1 \2/p' "$summary" | tail -1) || true
  passed=$((passed + ${total:-0} - ${f:-0})) failed=$((failed + ${f:-0}))
done
rm -f "$summary"

# The model-file readers under libFuzzer (clang, AddressSanitizer + UBSan): the seed files, then
# 1000 random and mutated ones from a fixed seed, so that a run is repeatable.
echo "=== fuzz build ==="
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
echo "=== fuzz runs ==="
fuzz_passed=0 fuzz_failed=0
for object in gasnet chainlet selfmap echoseq; do
  corpus=$(mktemp -d)
  if build/fuzz/fuzz/${object}_file_fuzz -seed=1 -runs=1000 "$corpus" "fuzz/corpus/${object}" >"$corpus.log" 2>&1; then
    fuzz_passed=$((fuzz_passed + 1))
  else
    fuzz_failed=$((fuzz_failed + 1)); status=1
    tail -40 "$corpus.log"
  fi
  echo "${object}_file_fuzz: $(tail -1 "$corpus.log")"
  rm -rf "$corpus" "$corpus.log"
done
echo "fuzz: ${fuzz_passed} passed, ${fuzz_failed} failed"
echo "all: $((passed + fuzz_passed)) passed, $((failed + fuzz_failed)) failed"
exit $status
