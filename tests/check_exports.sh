#!/usr/bin/env bash
# check_exports.sh EXTERNAL.so...: each Linux external exports ext_main, at most main besides,
# and nothing else (the host finds it by ext_main; any other name could bind to another module's).
set -uo pipefail
status=0
[ $# -gt 0 ] || { echo "no externals to check"; exit 1; }
for ext in "$@"; do
  exported=$(nm -D --defined-only "$ext" | awk '{print $NF}')
  others=$(grep -vx -e ext_main -e main <<<"$exported")
  grep -qx ext_main <<<"$exported" || { echo "$ext does not export ext_main"; status=1; }
  [ -z "$others" ] || { echo "$ext exports more than its entry:" $others; status=1; }
done
[ $status -eq 0 ] && echo "each external exports only its entry: $*"
exit $status
