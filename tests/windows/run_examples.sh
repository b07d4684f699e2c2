#!/usr/bin/env bash
# run_examples.sh WINE_RUN MAXSCRIPT.exe EXAMPLES_DIR OUT_DIR OBJECT...
# Makes an instance of each object, then runs each object's example scripts (<object>_*.maxs) through
# maxscript.exe under Wine; every line of every script must succeed (exit status 0), so each
# object's .mxe64 loads and works.
set -uo pipefail
wine_run=$1 maxscript=$2 examples=$3 out=$4
shift 4
mkdir -p "$out"
status=0 ran=0
for object in "$@"; do
  printf 'new o %s\n' "$object" >"$out/load_$object.maxs"
  if ! "$wine_run" "$maxscript" "Z:$out/load_$object.maxs" >"$out/load_$object.txt" 2>&1; then
    echo "FAIL $object.mxe64 does not load:"
    cat "$out/load_$object.txt"
    status=1
  fi
  for script in "$examples/${object}"_*.maxs; do
    [ -f "$script" ] || continue
    ran=$((ran + 1))
    log="$out/$(basename "$script" .maxs).txt"
    if (cd "$examples" && "$wine_run" "$maxscript" --out "Z:$out" "$(basename "$script")") >"$log" 2>&1; then
      echo "ok   $(basename "$script") ($(wc -l <"$log") lines)"
    else
      echo "FAIL $(basename "$script"):"
      tail -20 "$log"
      status=1
    fi
  done
done
echo "$ran example scripts"
exit $status
