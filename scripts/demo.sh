#!/usr/bin/env bash
# Builds the release configuration and runs the example scripts through the command-line host.
# Drawings are written to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)"
mkdir -p out
for script in examples/*.maxs; do
  echo "=== ${script} ==="
  build/release/tools/maxscript/maxscript --out out "$script"
done
ls -1 out/*.png 2>/dev/null || true
