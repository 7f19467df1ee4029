#!/usr/bin/env bash
# Fails when the program does not export its functions for hosts, plug-ins and modules under
# their plain names, as read from its export table: no leading underscore, no "@bytes" of
# stdcall. They live in static libraries, whose objects the linker would drop if nothing
# pulled them in.
set -u
objdump=$1 exe=$2
names=$("$objdump" -p "$exe" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[ *[0-9]*\] //p')
[ -n "$names" ] || { echo "no export table in $exe"; exit 1; }
status=0
for want in OXLaunchMainThread OXRegisterDevice OXWriteToDevice GetOrvaneHWND GetHInstOrvane \
    asCreateDebugScriptEngine BasicInputDialogCallback KL_WriteDeviceSpecificScript; do
  grep -qx "$want" <<<"$names" || { echo "missing export $want"; status=1; }
done
if grep -E '^_|@' <<<"$names"; then
  echo "decorated export names above"
  status=1
fi
[ $status -eq 0 ] && echo "exports: $(tr '\n' ' ' <<<"$names")"
exit $status
