#!/usr/bin/env bash
# VHXHID.dll exports exactly the expected ordinals and no names; a program linked with the
# import library imports it by ordinal only.
set -u
objdump=$1 bin=$2
expected="2 3 4 6 7 8 10 11 13 15 16 27 29 31 33 35"
dump=$("$objdump" -p "$bin/VHXHID.dll") || { echo "cannot read VHXHID.dll"; exit 1; }
status=0

names=$(printf '%s\n' "$dump" | sed -n 's/^\s*\[Name Pointer\/Ordinal\] Table\s*\([0-9a-fA-F]*\)$/\1/p')
if [ "$names" != "00000000" ]; then
  echo "VHXHID.dll exports names (count: ${names:-unknown})"
  status=1
fi

ordinals=$(printf '%s\n' "$dump" | sed -n 's/.*+base\[ *\([0-9]*\)\].*/\1/p' | sort -n | tr '\n' ' ' | sed 's/ $//')
if [ "$ordinals" != "$expected" ]; then
  echo "VHXHID.dll exports ordinals '$ordinals', expected '$expected'"
  status=1
fi

# The import list of the test program: every VHXHID.dll entry names no function.
imports=$("$objdump" -p "$bin/vhxhid_sim_test.exe" |
  awk '/DLL Name:/ { inside = ($3 == "VHXHID.dll") ; next }
       inside && /^\t[0-9a-f]+\t/ { print }
       inside && /^$/ { inside = 0 }')
if [ -z "$imports" ]; then
  echo "vhxhid_sim_test.exe does not import VHXHID.dll"
  status=1
elif printf '%s\n' "$imports" | grep -qv '<none>'; then
  echo "vhxhid_sim_test.exe imports VHXHID.dll by name:"
  printf '%s\n' "$imports" | grep -v '<none>'
  status=1
fi
[ $status -eq 0 ] && echo "ordinals $ordinals, no names; imported by ordinal"
exit $status
