#!/usr/bin/env bash
# max_half.sh OUT.a RENAMES LIPO OBJCOPY AR ARCHS OBJECT...
# Makes the Max half of a Pd external for macOS: a universal static library of the objects (each
# universal, with the slices ARCHS, comma-separated), every name of RENAMES (lines "old new")
# renamed, so that the Max API functions it defines cannot take the calls the Pd glue makes to
# Pd's functions of the same names. (ELF builds localize them with ld -r, which ld64.lld lacks.)
set -euo pipefail
out=$1 renames=$2 lipo=$3 objcopy=$4 ar=$5 archs=$6
shift 6
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
slices=()
for arch in ${archs//,/ }; do
  members=()
  n=0
  for obj in "$@"; do
    n=$((n + 1))
    "$lipo" -thin "$arch" -output "$tmp/$arch.$n.o" "$obj"
    "$objcopy" --redefine-syms="$renames" "$tmp/$arch.$n.o"
    members+=("$tmp/$arch.$n.o")
  done
  "$ar" rcs "$tmp/$arch.a" "${members[@]}"
  slices+=("$tmp/$arch.a")
done
rm -f "$out"
"$lipo" -create -output "$out" "${slices[@]}"
