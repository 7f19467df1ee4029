#!/usr/bin/env bash
# Reads the legend sheets that legend_printing_gui_test printed (PostScript from Wine's
# driver) with ghostscript: each holds its captions as text, and each is drawn as a picture
# under build/pictures for a look by eye (a sheet printed across is turned to be read).
set -euo pipefail
build=$1
printed=$build/printed
command -v gs >/dev/null || { echo "ghostscript is missing (tools/setup installs it)" >&2; exit 1; }
mkdir -p "$build/pictures"
status=0
for name in legend_sheet_plain legend_sheet_die_cut; do
  sheet=$printed/$name.ps
  [ -s "$sheet" ] || { echo "$name: not printed" >&2; status=1; continue; }
  # Text printed across comes out a character a line, last character first.
  text=$(gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=- "$sheet" | tr -d ' \t\r\n')
  for caption in Copy Paste Undo Mail; do
    reversed=$(rev <<<"$caption")
    if [[ $text != *"$caption"* && $text != *"$reversed"* ]]; then
      echo "$name: no caption \"$caption\" on the page" >&2
      status=1
    fi
  done
  picture=$build/pictures/$name.png
  gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r72 -sOutputFile="$picture" "$sheet"
  if grep -q '^%%Orientation: Landscape' "$sheet" && command -v convert >/dev/null; then
    convert -quiet "$picture" -rotate 90 "$picture"
  fi
done
exit $status
