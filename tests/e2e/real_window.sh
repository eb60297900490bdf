#!/usr/bin/env bash
# The real game in a real window under Xvfb: click the splash, answer N, let the world tick,
# take a screenshot, and check that the window shows what the core composes, where the layout
# puts it. Then close the window and check the exit code.
set -euo pipefail
game=$1
bindir=$(dirname "$game")
work=$(mktemp -d)
source "$(dirname "$0")/../../tools/xvfb.sh"
trap stop_game_and_xvfb EXIT

start_xvfb
xvfb_pid=$XVFB_PID

SDL_AUDIODRIVER=dummy "$game" &
game_pid=$!
wid=$(find_game_window)
[ -n "$wid" ] || { echo "no game window appeared"; exit 1; }
geometry=$(xdotool getwindowgeometry "$wid" | awk '/Geometry/ {print $2}')
[ "$geometry" = "903x717" ] || { echo "window is $geometry, not 903x717"; exit 1; }

sleep 0.5
xdotool mousemove --window "$wid" 350 350 click 1
sleep 0.5
xdotool key --window "$wid" n
sleep 2
import -window "$wid" "$work/window.png"
cp "$work/window.png" "$bindir/e2e-window.png"

# The same moment in the simulator: the panels and the base are the same in every game.
printf 'press 350 350\nkey N\nwait 2000\nshot %s\n' "$work/sim.bmp" |
  "$bindir/mibbetfall-sim" --date 2010-03-01 >/dev/null

same_region() {  # name geometry
  local diff
  diff=$(compare -metric AE -crop "$2" "$work/window.png" "$work/sim.bmp" null: 2>&1 || true)
  [ "$diff" = "0" ] || { echo "$1 ($2) differs from the composed frame in $diff pixels"; exit 1; }
}
same_region "score, scrap and sign panels" 185x164+712+8
same_region "hatred panel" 185x201+712+176
same_region "key legend" 185x49+712+384
same_region "credits" 185x201+712+506
same_region "base turrets on the base floor" 35x70+289+9
same_region "base turrets on the base floor" 35x70+359+9

# The splash is gone: the playfield is floor-coloured, like the floor tile (snow on a holiday).
mean() { convert "$1" -crop "$2" -resize 1x1\! -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:; }
near_floor() {
  local tr tg tb d
  read -r tr tg tb < <(mean "$bindir/Assets/$1" 35x35+0+0)
  for d in $((pr - tr)) $((pg - tg)) $((pb - tb)); do [ "${d#-}" -le 30 ] || return 1; done
}
read -r pr pg pb < <(mean "$work/window.png" 700x700+8+8)
near_floor Tile.bmp || near_floor TileSnow.bmp || { echo "playfield colour $pr,$pg,$pb is not the floor's"; exit 1; }

kill -TERM "$game_pid"
status=0
wait "$game_pid" || status=$?
game_pid=
[ "$status" -eq 0 ] || { echo "the game exited with $status"; exit 1; }
echo "real window: layout, floor, base and panels as composed; clean exit"
