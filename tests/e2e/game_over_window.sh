#!/usr/bin/env bash
# The end of a game in the real window under Xvfb, in debug mode: start a game, raise the score
# into the table with W, end it with Q, click the game-over panel, type a name, post it to a
# server that never answers, and see the table the simulator draws for the same moment at once:
# the post must not hold the window. Back on the splash a click must
# start the next game. The game runs from a private copy, so the build's own high-score table
# is never touched, and its table on disk must hold the name afterwards.
set -euo pipefail
game=$1
bindir=$(dirname "$game")
work=$(mktemp -d)
source "$(dirname "$0")/../../tools/xvfb.sh"
trap 'kill "${silent_server_pid:-}" 2>/dev/null || true; stop_game_and_xvfb' EXIT
fail() {
  echo "$*"
  [ -f "$work/now.png" ] && cp "$work/now.png" "$bindir/e2e-game-over-failed.png"
  exit 1
}

name=XDO
wpresses=11  # 550, above the default table's last line of 500
score=$((wpresses * 50))

# An Assets folder of our own, its files linked to the generated ones, in debug mode. The game
# looks for its folder beside the real path of its executable, so the program is copied.
private_assets() {  # DIR
  cp -rs "$(realpath "$bindir/Assets")" "$1"
  rm -f "$1"/settings.ini "$1"/hs.bmp* "$1"/debug.txt
  sed '/^DEBUG=/d' "$bindir/Assets/settings.ini" >"$1/settings.ini"
  echo "DEBUG=1" >>"$1/settings.ini"
}
mkdir -p "$work/game"
cp "$game" "$work/game/mibbetfall"
private_assets "$work/game/Assets"

# A server that reads the request and never answers: a post waits for its whole time-out.
python3 -c '
import socket, sys
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(8)
print(s.getsockname()[1], flush=True); sys.stdout.close()
held = []
while True:
    c, _ = s.accept(); held.append(c)
    with open(sys.argv[1], "ab") as log: log.write(c.recv(4096).split(b"\r\n")[0] + b"\n")' \
  "$work/requests" >"$work/port" &
silent_server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
sed -i '/^HISCORESERVER=/d' "$work/game/Assets/settings.ini"
echo "HISCORESERVER=127.0.0.1:$(cat "$work/port")" >>"$work/game/Assets/settings.ini"
private_assets "$work/sim"
shared_table_before=$(md5sum "$bindir/Assets/hs.bmp" 2>/dev/null || echo none)

# The same moments in the simulator: the game-over panel's frame, the table with the new line,
# the splash after the click, and the next game's base.
{
  echo "shot $work/sim-start.bmp"
  echo "press 350 350"
  echo "key N"
  for _ in $(seq "$wpresses"); do echo "key w"; done
  echo "key q"
  echo "wait 20000"
  echo "shot $work/sim-gameover.bmp"
  echo "press 350 350"
  for ((i = 0; i < ${#name}; i++)); do echo "key ${name:i:1}"; done
  echo "key Enter"
  echo "key y"
  echo "wait 500"
  echo "shot $work/sim-table.bmp"
  echo "press 350 350"
  echo "shot $work/sim-splash.bmp"
  echo "press 350 350"
  echo "wait 1000"
  echo "shot $work/sim-next.bmp"
} | SDL_AUDIODRIVER=dummy "$bindir/mibbetfall-sim" --assets "$work/sim" >/dev/null

start_xvfb
xvfb_pid=$XVFB_PID

SDL_AUDIODRIVER=dummy "$work/game/mibbetfall" &
game_pid=$!
wid=$(find_game_window)
[ -n "$wid" ] || fail "no game window appeared"

# Polls the window until a region equals the same region of a simulator shot.
wait_for_region() {  # what geometry reference seconds
  local deadline=$((SECONDS + $4)) diff
  for (( ; ; )); do
    import -window "$wid" "$work/now.png"
    diff=$(compare -metric AE -crop "$2" "$work/now.png" "$3" null: 2>&1 || true)
    [ "$diff" = "0" ] && return 0
    [ "$SECONDS" -ge "$deadline" ] && fail "$1 ($2) still differs from the simulator's in $diff pixels after $4 s"
    sleep 0.2
  done
}
click() { xdotool mousemove --window "$wid" 350 350 click 1; }

# The splash takes a click once the window shows it; the tutorial question waits for a key.
wait_for_region "splash" 700x700+8+8 "$work/sim-start.bmp" 10
click
sleep 0.3
xdotool key --window "$wid" n
sleep 0.3
for _ in $(seq "$wpresses"); do xdotool key --window "$wid" w; done
xdotool key --window "$wid" q

# The explosions burn down, then the game-over panel comes up with its frame.
wait_for_region "game-over panel frame" 700x101+8+8 "$work/sim-gameover.bmp" 30
wait_for_region "game-over panel side" 50x499+8+109 "$work/sim-gameover.bmp" 5
click
sleep 0.3
xdotool type --window "$wid" --delay 60 "$name"
xdotool key --window "$wid" Return
sleep 0.2
xdotool key --window "$wid" y
wait_for_region "high-score table with the new line, while the post waits" 700x700+8+8 "$work/sim-table.bmp" 2

# Back to the splash over a fresh world, and a click there starts the next game.
click
wait_for_region "splash after the table" 700x700+8+8 "$work/sim-splash.bmp" 6
click
wait_for_region "next game's score, scrap and sign panels" 185x164+712+8 "$work/sim-next.bmp" 10
wait_for_region "next game's base turrets" 35x70+289+9 "$work/sim-next.bmp" 5

kill -TERM "$game_pid"
status=0
wait "$game_pid" || status=$?
game_pid=
[ "$status" -eq 0 ] || fail "the game exited with $status"

grep -q '^GET /mibbets/hiscore.php?q=[0-9|]* HTTP/1.1$' "$work/requests" || fail "no post reached the server"

# The private table on disk holds the name with its score; the build's own is as it was.
python3 - "$work/game/Assets/hs.bmp" "$name" "$score" <<'EOF' || fail "the new line is not in hs.bmp"
import struct, sys
path, name, score = sys.argv[1], sys.argv[2], int(sys.argv[3])
data = open(path, "rb").read()
offset, = struct.unpack_from("<I", data, 10)
width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
assert (width, abs(height), bits) == (5, 10, 24), (width, height, bits)
stride = (width * 3 + 3) // 4 * 4
lines = []
for row in range(abs(height)):
    at = offset + row * stride
    b, g, r = data[at:at + 3]
    chars = ""
    for p in range(1, 5):
        pb, pg, pr = data[at + 3 * p:at + 3 * p + 3]
        chars += chr(pr) + chr(pg) + chr(pb)
    lines.append((r | g << 8 | b << 16, chars.rstrip()))
print("hs.bmp:", lines)
sys.exit(0 if (score, name) in lines else 1)
EOF
grep -q "We win! >:D" "$work/game/Assets/debug.txt" || fail "debug.txt does not tell of the game's end"
[ "$(md5sum "$bindir/Assets/hs.bmp" 2>/dev/null || echo none)" = "$shared_table_before" ] ||
  fail "the build's own hs.bmp changed"
echo "game over in a real window: panel, name entry and table as simulated, back to the splash and" \
  "into the next game; clean exit; the table on disk holds $name with $score"
