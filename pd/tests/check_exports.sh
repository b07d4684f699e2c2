#!/usr/bin/env bash
# Each Pd external must export its <class>_setup and nothing else: Pd loads every external into
# one namespace, so any other exported name could bind to Pd's or another external's.
# usage: check_exports.sh EXTERNALS_DIR CLASS...
set -euo pipefail
dir=$1
shift
status=0
for class in "$@"; do
  exported=$(nm -D --defined-only "$dir/$class.pd_linux" | awk '{print $NF}')
  if [ "$exported" != "${class}_setup" ]; then
    echo "$class.pd_linux exports:"
    echo "$exported"
    status=1
  fi
done
[ $status -eq 0 ] && echo "each external exports only its _setup function: $*"
exit $status
