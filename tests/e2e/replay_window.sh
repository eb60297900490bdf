#!/usr/bin/env bash
# A game played in the real window under Xvfb with --record (the splash, N, a sign through the build
# menu, a Get, a pause) under changed settings, then closed: the simulator replaying the recording
# with the default settings folder must end in the state the window wrote beside it, and so must
# the window replaying it. The game runs from a private copy
# with its own state folder, so nothing of the build or the user is touched.
set -euo pipefail
game=$1
bindir=$(dirname "$game")
work=$(mktemp -d)
source "$(dirname "$0")/../../tools/xvfb.sh"
trap stop_game_and_xvfb EXIT
fail() {
  echo "$*"
  exit 1
}
export SDL_AUDIODRIVER=dummy XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data"

mkdir -p "$work/game"
cp "$game" "$work/game/mibbetfall"
cp -rs "$(realpath "$bindir/Assets")" "$work/game/Assets"
rm -f "$work/game/Assets"/hs.bmp* "$work/game/Assets"/debug.txt
# Played with settings of its own: the replays below read them from the recording, the
# simulator's against the build's default folder.
rm "$work/game/Assets/settings.ini"
sed 's/^BASESCRAP *=.*/BASESCRAP=480/' "$bindir/Assets/settings.ini" >"$work/game/Assets/settings.ini"
grep -q '^BASESCRAP=480$' "$work/game/Assets/settings.ini" || fail "the settings file has no BASESCRAP line to change"
recording=$work/game.replay

start_xvfb
xvfb_pid=$XVFB_PID
"$work/game/mibbetfall" --record "$recording" &
game_pid=$!
wid=$(find_game_window)
[ -n "$wid" ] || fail "no game window appeared"
sleep 1  # a click before the window takes input is lost
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.3; }
cell() { echo $((9 + 35 * $1 + 17)); }

click 350 350
xdotool key --window "$wid" n
sleep 1

# The world's rocks come from the recorded seed: the simulator finds one to gather.
seed=$(sed -n '1s/.* seed=\([0-9]*\) .*/\1/p' "$recording")
[ -n "$seed" ] || fail "the recording has no header yet"
read -r rock_x rock_y < <(printf 'press 350 350\nkey n\ndump\n' |
  "$bindir/mibbetfall-sim" --assets "$work/game/Assets" --seed "$seed" | python3 -c '
import json, sys
state = json.loads(sys.stdin.read().splitlines()[-1])
rock = next(r for r in state["Resources"] if r["Gatherable"] and r["CellY"] < 17)
print(rock["CellX"], rock["CellY"])')

# A sign pointing down on cell (5, 11): the menu opens beside the cell, its first slot is the sign.
click "$(cell 5)" "$(cell 11)"
click 195 420
# Get on the rock: the cell, then the menu's Get slot (x 3..42, y 96..137 of the menu).
menu=$(printf 'press 350 350\nkey n\npress %d %d\ndump\n' "$(cell "$rock_x")" "$(cell "$rock_y")" |
  "$bindir/mibbetfall-sim" --assets "$work/game/Assets" --seed "$seed" | python3 -c '
import json, sys
menu = json.loads(sys.stdin.read().splitlines()[-1])["Menus"]["MenuImg"]
print(menu["Left"] + 20, menu["Top"] + 115)')
click "$(cell "$rock_x")" "$(cell "$rock_y")"
click $menu
sleep 1
xdotool key --window "$wid" p
sleep 0.5
xdotool key --window "$wid" p
sleep 1.5

kill -TERM "$game_pid"
status=0
wait "$game_pid" || status=$?
game_pid=
[ "$status" -eq 0 ] || fail "the game exited with $status"
[ -s "$recording.state.json" ] || fail "no state was written beside the recording"
[ "$(grep -c '^down ' "$recording")" -ge 5 ] || fail "the recording misses presses: $(grep -E '^(down|keydown)' "$recording" | tr '\n' ' ')"
[ "$(grep -c '^keydown p$' "$recording")" -eq 2 ] || fail "the recording misses the pause"

"$bindir/mibbetfall-sim" --assets "$bindir/Assets" --replay "$recording" >"$work/sim.json" ||
  fail "the simulator did not replay the recording"
"$work/game/mibbetfall" --replay "$recording" >"$work/window.json" || fail "the window did not replay the recording"

# What happened between dumps (sounds, debug lines) is the simulator's own bookkeeping, and a music
# track's loop timer is timed by the length the sound device finds in its file (the simulator's
# tracks have none); every other field of the game's state must match.
python3 - "$recording.state.json" "$work/sim.json" "$work/window.json" "$rock_x" "$rock_y" <<'PY' || fail "the replays' states differ"
import json, sys
since = {"Sounds", "SoundRequests", "DebugLines", "DebugLinesLost"}
def state(path):
    s = {k: v for k, v in json.loads(open(path).read().splitlines()[-1]).items() if k not in since}
    s["Timers"] = {k: v for k, v in s["Timers"].items() if not k.startswith("Music")}
    return s
played, simulated, replayed = (state(p) for p in sys.argv[1:4])
rock = (int(sys.argv[4]), int(sys.argv[5]))
assert played["Signs"], "the sign was not ordered"
assert played["Scrap"] > 400, "the game was not played with its own settings"
assert not any((r["CellX"], r["CellY"]) == rock and r["Alpha"] == 255 for r in played["Resources"]), "no Get"
for name, other in (("simulator", simulated), ("window replay", replayed)):
    differ = [k for k in played if played[k] != other.get(k)]
    if differ:
        print(name, "differs in", differ)
        for k in differ[:3]:
            print(" played:", json.dumps(played[k])[:300])
            print(" %s:" % name, json.dumps(other.get(k))[:300])
        sys.exit(1)
print("played", played["time"], "ms, tick", played["TickCount"], ":", len(played["Signs"]), "sign(s),",
      len(played["Mibbets"]), "creatures; the simulator and the window replay end in the same state")
PY
echo "a recorded game replays exactly in the simulator and in the window ($(grep -c . "$recording") lines)"
