#!/usr/bin/env bash
# Checks Lococab.dll as other processes see it: its export names, and its data section
# "SHARED" (shared, writable, initialised) holding the block's initial bytes.
set -u
objdump=$1 dll=$2
status=0
fail() { echo "$*"; status=1; }

# Exports: exactly these names, undecorated.
expected_exports="GetLococabConnected GetLococabGetId GetLococabGetType GetLococabValue
GetNextLococabId GetVeltrakCombinedThrottleBrake GetVeltrakConnected GetVeltrakLocoChanged
GetVeltrakValue SetLococabConnected SetLococabLocoChanged SetLococabValue SetVeltrakConnected
SetVeltrakValue"
exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[ *[0-9]*\] //p' | sort)
want=$(printf '%s\n' $expected_exports | sort)
[ "$exports" = "$want" ] || fail "exports differ: got [$(echo $exports)]"

# The section table, read from the PE headers.
u16() { od -An -tu2 -j "$1" -N2 "$dll" | tr -d ' '; }
u32() { od -An -tu4 -j "$1" -N4 "$dll" | tr -d ' '; }
pe=$(u32 60)
sections=$(u16 $((pe + 6)))
table=$((pe + 24 + $(u16 $((pe + 20)))))
found=0
for ((i = 0; i < sections; i++)); do
  h=$((table + 40 * i))
  name=$(dd if="$dll" bs=1 skip=$h count=8 2>/dev/null | tr -d '\0')
  [ "$name" = SHARED ] || continue
  found=$((found + 1))
  flags=$(printf '0x%08x' "$(u32 $((h + 36)))")
  [ "$flags" = 0xd0000040 ] || fail "SHARED flags $flags, want 0xd0000040"
  vsize=$(u32 $((h + 8))) rawsize=$(u32 $((h + 16))) rawptr=$(u32 $((h + 20)))
  [ "$vsize" -ge 496 ] && [ "$rawsize" -ge 496 ] || fail "SHARED holds $vsize/$rawsize bytes, want 496"
  actual=$(od -An -tx1 -v -j "$rawptr" -N 496 "$dll" | tr -d ' \n')
done
[ $found -eq 1 ] || fail "$found sections named SHARED, want 1"

# The initial block, little-endian: the four flags (loco changed 1), request slot -1, reply
# 0.0, request type 0, pending 0 and 7 reserved bytes; 58 slots {value 0.0, flags}; 8 reserved.
block="00000100""ffffffff""00000000""00000000""0000000000000000"
slot_flags=(c c c 4 c c c 4 c 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 4 0 0 4)
for ((i = 0; i < 58; i++)); do
  f=${slot_flags[i]:-0}
  block+="00000000""0${f}000000"
done
block+="0000000000000000"
if [ -n "${actual:-}" ] && [ "$actual" != "$block" ]; then
  fail "SHARED initial bytes differ"
  echo " got  $actual"
  echo " want $block"
fi
[ $status -eq 0 ] && echo "Lococab.dll: 14 exports, SHARED section as shared"
exit $status
