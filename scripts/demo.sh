#!/usr/bin/env bash
# Builds the release configuration and runs the example scripts through the command-line host.
# Drawings are written to out/. Then assembles the Max package in dist/ (with the Windows externals
# when the mingw-w64 cross toolchain is installed, and the macOS bundles) and the Pd package.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh demo
objects=(gasnet chainlet selfmap echoseq)
# The macOS .mxo bundles and Pd externals, with the pinned Zig toolchain (npm) and LLVM's linker
# and lipo; built first, so that the release configuration finds them for the Pd package.
if bash scripts/install-macos-toolchain.sh && cmake --preset macos >/dev/null &&
   cmake --build --preset macos -j "$(nproc 2>/dev/null || echo 2)"; then
  echo "macOS externals built"
else
  echo "The macOS build failed: the packages are assembled without the macOS externals"
fi
# Only what the demo runs: no tests, no benchmarks (`cmake --preset release` brings them back).
cmake --preset release -DBUILD_TESTING=OFF -DMAXLEARN_BENCHMARKS=OFF >/dev/null
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)" --target maxscript "${objects[@]}"
mkdir -p out
for script in examples/*.maxs; do
  echo "=== ${script} ==="
  build/release/tools/maxscript/maxscript --out out "$script"
done
ls -1 out/*.png 2>/dev/null || true

# The Max package. Its externals are the .mxe64 files of the Windows build, made here when the
# cross toolchain is present; without them the package is still assembled, with a note.
if cmake --list-presets 2>/dev/null | grep -q '"windows"' && command -v x86_64-w64-mingw32-g++ >/dev/null 2>&1; then
  if cmake --preset windows -DBUILD_TESTING=OFF >/dev/null &&
     cmake --build --preset windows -j "$(nproc 2>/dev/null || echo 2)" --target "${objects[@]}"; then
    echo "Windows externals built"
  else
    echo "The Windows build failed: the package is assembled without its externals"
  fi
fi
cmake --build --preset release --target max_package
echo "Max package: dist/maxlearn/ and dist/maxlearn.zip"

# The Pd package, when Pd's headers are installed (install-deps.sh installs them).
if [ -d build/release/pd_externals ]; then
  cmake --build --preset release --target pd_package
  cp build/release/pd_package/*.dek dist/
  echo "Pd package: dist/$(cd build/release/pd_package && ls *.dek)"
fi
