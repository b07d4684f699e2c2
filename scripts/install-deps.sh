#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing. Runs as root (or with sudo).
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libpng-dev pkg-config libexpat1-dev)
# The Pd externals and their tests in real Pd (the pd program without its GUI).
packages+=(puredata-core puredata-dev python3)
# The Windows build: the mingw-w64 cross compiler and binutils (objdump, dlltool), and Wine to run it.
packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64)
# The macOS build: npm fetches the pinned Zig toolchain (install-macos-toolchain.sh), lld links
# Mach-O (ld64.lld), llvm joins and reads the slices (llvm-lipo, llvm-nm, llvm-objdump); clang
# builds the whole project once more, for its warnings.
packages+=(lld llvm clang)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# npm may come with another build of Node.js than Debian's: any npm does.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo_cmd=""
if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
