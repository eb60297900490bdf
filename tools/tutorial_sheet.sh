#!/usr/bin/env bash
# Plays the tutorial through in the simulator, takes a screenshot of every stage and lays the
# fifteen pictures out on one contact sheet: the way to judge the tutorial pages on the field.
#   tools/tutorial_sheet.sh [SIM] [OUTPUT]
set -euo pipefail
sim=${1:-build/bin/mibbetfall-sim}
out=${2:-build/tutorial-sheet.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Window pixels of the centre of a playfield cell.
cell() { echo "$((9 + 35 * $1 + 17)) $((9 + 35 * $2 + 17))"; }
shot() { echo "shot $work/stage$1.bmp"; }

{
  echo "press 350 350"; echo "key Y"; echo "wait 200"
  shot 00; echo "press 350 350"                      # the three kinds
  echo "wait 8000"; shot 01; echo "press 350 350"    # the tunnels
  echo "wait 1000"; shot 02; echo "wait 4500"        # holes announced, then open
  echo "wait 3000"; shot 03; echo "press 350 350"    # creatures out of the holes
  echo "wait 200"; shot 04; echo "press 350 350"     # the base
  echo "wait 200"; shot 05; echo "press $(cell 9 16)"  # the red cross
  echo "wait 200"; shot 06; echo "press 335 600"     # the left-pointing sign
  echo "wait 300"; shot 07; echo "wait 6000"         # the builder at work
  echo "wait 3000"; shot 08; echo "wait 12000"       # a creature into the sign
  echo "wait 200"; shot 09; echo "press 350 350"     # the score
  echo "wait 200"; shot 10; echo "press 350 350"     # what can be gathered
  echo "wait 200"; shot 11; echo "press $(cell 9 0)" # the orb
  echo "wait 200"; shot 12; echo "press 335 38"      # the orb menu
  echo "wait 200"; shot 13; echo "press 350 350"     # the panels
  echo "wait 200"; shot 14; echo "press 350 350"     # the last words
  echo "dump"
} | "$sim" --seed 3 >"$work/state.json"

grep -q '"GameMode":1' "$work/state.json" || { echo "the tutorial did not end in a game"; exit 1; }
for f in "$work"/stage*.bmp; do
  n=$(basename "$f" .bmp)
  convert "$f" -crop 903x717+0+0 -resize 50% -background white -gravity north -splice 0x18 \
    -font /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf -pointsize 14 -annotate +0+2 "${n/stage/stage }" "$work/$n.png"
done
montage "$work"/stage*.png -tile 3x -geometry +6+6 -font /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf "$out"
echo "$out"
