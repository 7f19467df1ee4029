#!/usr/bin/env bash
# Orvane.exe exports, undecorated, the functions hosts and modules find by name. They live in
# static libraries, whose objects the linker would drop if nothing pulled them in.
set -u
objdump=$1 bin=$2
expected="GetOrvaneHWND GetHInstOrvane asCreateDebugScriptEngine"
dump=$("$objdump" -p "$bin/Orvane.exe") || { echo "cannot read Orvane.exe"; exit 1; }
names=$(printf '%s\n' "$dump" |
  awk '/^\[Ordinal\/Name Pointer\] Table/ { inside = 1; next }
       inside && /^\t\[ *[0-9]+\] / { print $NF; next }
       inside { inside = 0 }')
status=0
for name in $expected; do
  if ! printf '%s\n' "$names" | grep -qx "$name"; then
    echo "Orvane.exe does not export $name undecorated"
    status=1
  fi
done
[ $status -eq 0 ] && echo "exported:" $names
exit $status
