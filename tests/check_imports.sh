#!/usr/bin/env bash
# Fails when an .exe or .dll of the build imports a DLL that a plain Windows does not have.
set -u
objdump=$1 bin=$2
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|gdiplus|setupapi|hid|msvcrt|psapi|winspool\.drv|shlwapi|version|winmm|imm32|uxtheme|ws2_32|vhxhid)\.dll$|^winspool\.drv$'
status=0 count=0
while IFS= read -r -d '' f; do
  count=$((count + 1))
  while read -r dll; do
    lc=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
    if ! [[ $lc =~ $allowed ]]; then
      echo "$(basename "$f") imports $dll"
      status=1
    fi
  done < <("$objdump" -p "$f" | sed -n 's/^\s*DLL Name: //p')
done < <(find "$bin" -maxdepth 1 \( -iname '*.exe' -o -iname '*.dll' \) -print0)
[ $count -gt 0 ] || { echo "no binaries in $bin"; exit 1; }
echo "$count binaries checked"
exit $status
