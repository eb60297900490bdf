#!/usr/bin/env bash
# The real window at --scale 2 under Xvfb: the window is twice the frame, shows the composed frame
# pixel for pixel twice as large, and clicks at window pixels reach the game (and its recording) as
# frame pixels. F11 puts the game on the whole screen, centred with a black border, where clicks
# still land on the right pixel, and F11 again brings the window back; F11 itself is never recorded.
set -euo pipefail
game=$1
bindir=$(dirname "$game")
work=$(mktemp -d)
source "$(dirname "$0")/../../tools/xvfb.sh"
trap stop_game_and_xvfb EXIT
fail() {
  echo "$*"
  [ -s "$work/game.err" ] && sed 's/^/game: /' "$work/game.err"
  exit 1
}
export SDL_AUDIODRIVER=dummy XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data"
recording=$work/scaled.replay
geometry() { xdotool getwindowgeometry "$wid" | awk '/Geometry/ {print $2}'; }
# Waits up to 5 s for the window to take the size.
expect_geometry() {
  for _ in $(seq 50); do
    [ "$(geometry)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "$2: the window is $(geometry), not $1"
}
# The colour of one pixel of a picture, as r,g,b.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

# The screen has room for the frame twice over with the window's frame around it.
start_xvfb 1920x1600x24
xvfb_pid=$XVFB_PID
wm_pid=
trap '[ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null; stop_game_and_xvfb' EXIT
"$game" --scale 2 --record "$recording" 2>"$work/game.err" &
game_pid=$!
wid=$(find_game_window)
[ -n "$wid" ] || fail "no game window appeared: $(xwininfo -root -tree | grep -i mibb)"
expect_geometry 1806x1434 "at --scale 2"
sleep 1  # a click before the window takes input is lost

xdotool mousemove --window "$wid" 700 700 click 1
sleep 0.3
xdotool key --window "$wid" n
sleep 2
# The window's pixels (247, 913) are frame pixel (123, 456).
xdotool mousemove --window "$wid" 247 913 click 3
sleep 0.5
import -window "$wid" "$work/window.png"
cp "$work/window.png" "$bindir/e2e-scaled-window.png"

# The same moment in the simulator, enlarged pixel for pixel: the panels and the base are the
# same in every game.
printf 'press 350 350\nkey N\nwait 2000\nshot %s\n' "$work/sim.bmp" | "$bindir/mibbetfall-sim" --date 2010-03-01 >/dev/null
convert "$work/sim.bmp" -sample 200% "$work/sim2.png"
same_region() {  # name geometry, in window pixels
  local diff
  diff=$(compare -metric AE -crop "$2" "$work/window.png" "$work/sim2.png" null: 2>&1 || true)
  [ "$diff" = "0" ] || fail "$1 ($2) differs from the composed frame enlarged in $diff pixels"
}
same_region "score, scrap and sign panels" 370x328+1424+16
same_region "key legend" 370x98+1424+768
same_region "base turrets on the base floor" 70x140+578+18

# Only a window manager puts a window on the whole screen when it asks; Xvfb alone has none. It
# comes once the window is up, so that nothing moves the window under the clicks above.
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 100); do xprop -id "$wid" _NET_FRAME_EXTENTS 2>/dev/null | grep -q = && break; sleep 0.1; done
xprop -id "$wid" _NET_FRAME_EXTENTS | grep -q = || fail "the window manager did not take the window"
xdotool windowfocus --sync "$wid"
xdotool key --window "$wid" F11
screen=$(xdpyinfo | awk '/dimensions:/ {print $2}')
expect_geometry "$screen" "after F11"
sleep 0.5
import -window "$wid" "$work/fullscreen.png"
cp "$work/fullscreen.png" "$bindir/e2e-fullscreen-window.png"
# 1920 x 1600 holds the frame twice with 57 columns and 83 rows to spare each side: centred, black around.
left=57 top=83
for at in "20 700" "1900 700" "900 40" "900 1560"; do
  [ "$(pixel "$work/fullscreen.png" $at)" = "0,0,0" ] || fail "no black border at $at"
done
[ "$(pixel "$work/fullscreen.png" $((left + 1424 + 10)) $((top + 768 + 10)))" = "$(pixel "$work/window.png" $((1424 + 10)) $((768 + 10)))" ] ||
  fail "the key legend is not where the centred frame puts it"
# Frame pixel (200, 300), and a press in the border that counts as on the frame's left edge.
xdotool mousemove --window "$wid" $((left + 400)) $((top + 600)) click 3
sleep 0.3
xdotool mousemove --window "$wid" 5 $((top + 2 * 222)) click 3
sleep 0.3
xdotool key --window "$wid" F11
expect_geometry 1806x1434 "after F11 again"
sleep 0.5

kill -TERM "$game_pid"
status=0
wait "$game_pid" || status=$?
game_pid=
[ "$status" -eq 0 ] || fail "the game exited with $status"
presses=$(grep -E '^down ' "$recording" | cut -d' ' -f2-3 | tr '\n' ';')
[ "$presses" = "350 350;123 456;200 300;0 222;" ] || fail "the recording has presses at $presses"
keys=$(grep -E '^key' "$recording" | tr '\n' ';')
[ "$keys" = "keydown n;" ] || fail "the recording has keys $keys"
echo "scaled window: 1806x1434 at scale 2, the frame enlarged exactly, clicks in frame pixels; F11 to $screen and back"
