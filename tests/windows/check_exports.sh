#!/usr/bin/env bash
# check_exports.sh OBJDUMP MAXAPI.def MaxAPI.dll EXTERNAL.mxe64...
# MaxAPI.dll exports every name of the .def list; each external exports ext_main (and main, for
# older hosts) and nothing else, and imports from MaxAPI.dll and Windows system DLLs only (a C or
# C++ runtime DLL would not be found beside Max).
set -uo pipefail
objdump=$1 def=$2 dll=$3
shift 3
status=0
exports() { "$objdump" -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^[[:space:]]+\[/ && NF >= 3 {print $NF}'; }

dll_exports=$(exports "$dll")
for name in $(grep -E '^[[:space:]]+[A-Za-z_]' "$def" | tr -d ' \t\r'); do
  grep -qx "$name" <<<"$dll_exports" || { echo "$dll does not export $name"; status=1; }
done

system_dll='^(kernel32|msvcrt|ucrtbase|user32|advapi32|gdi32|shell32|ole32|oleaut32|ws2_32|ntdll|bcrypt|api-ms-win-.*)\.dll$'
[ $# -gt 0 ] || { echo "no externals to check"; status=1; }
for ext in "$@"; do
  ext_exports=$(exports "$ext")
  grep -qx ext_main <<<"$ext_exports" || { echo "$ext does not export ext_main"; status=1; }
  others=$(grep -vx -e ext_main -e main <<<"$ext_exports" || true)
  [ -z "$others" ] || { echo "$ext exports more than its entry:" $others; status=1; }
  while read -r imported; do
    lower=$(tr '[:upper:]' '[:lower:]' <<<"$imported")
    if [ "$imported" != MaxAPI.dll ] && ! grep -Eq "$system_dll" <<<"$lower"; then
      echo "$ext imports $imported"
      status=1
    fi
  done < <("$objdump" -p "$ext" | awk '/DLL Name:/ {print $3}')
  echo "$(basename "$ext"): imports $("$objdump" -p "$ext" | awk '/DLL Name:/ {print $3}' | tr '\n' ' ')"
done
exit $status
