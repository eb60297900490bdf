#!/usr/bin/env bash
# cmake --install into a scratch prefix, as a player's machine would get the game: the programs,
# the assets, the menu entry and the icons are where a desktop looks for them; the installed
# simulator plays a game to the high-score table with the assets read-only and keeps the table
# in the player's data folder; the installed game opens its window under Xvfb.
# installed_game.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
prefix=$work/prefix
source "$(dirname "$0")/../../tools/xvfb.sh"
trap 'chmod -R u+w "$work" 2>/dev/null || true; stop_game_and_xvfb' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }

for program in mibbetfall mibbetfall-sim mibbetfall-scores; do
  [ -x "$prefix/bin/$program" ] || fail "no program bin/$program"
done
assets=$prefix/share/mibbetfall/Assets
for file in settings.ini Tile.bmp font/f0a.bmp hooray.wav mmusic1.mp3; do
  [ -f "$assets/$file" ] || fail "no asset share/mibbetfall/Assets/$file"
done
[ "$(find "$assets" -type f | wc -l)" -eq "$(find "$build/bin/Assets" -type f ! -name 'hs.bmp*' ! -name debug.txt ! -name '*.tmp' | wc -l)" ] ||
  fail "the installed Assets folder does not hold every generated file"
[ ! -e "$assets/hs.bmp" ] || fail "a high-score table from the build tree was installed"
[ -z "$(find "$assets" -type f -perm /222)" ] || fail "installed assets are writable"

desktop=$prefix/share/applications/mibbetfall.desktop
[ -f "$desktop" ] || fail "no menu entry share/applications/mibbetfall.desktop"
command -v desktop-file-validate >/dev/null || fail "no desktop-file-validate (Debian's desktop-file-utils; ./test.sh installs it)"
desktop-file-validate "$desktop" || fail "the menu entry is not valid"
for key in Exec=mibbetfall Icon=mibbetfall 'Categories=Game;StrategyGame;'; do
  grep -qx "$key" "$desktop" || fail "the menu entry lacks $key"
done
for size in 64 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/mibbetfall.png
  [ -f "$icon" ] || fail "no ${size}px icon"
  [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}" ] || fail "the ${size}px icon is $(identify "$icon")"
done

# A player's machine: the installed assets are not the player's to write, even for root.
chmod -R a-w "$assets"
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state SDL_AUDIODRIVER=dummy
mkdir -p "$HOME"

# Nobody steers: the creatures take the base, the orb falls, and a click on the game-over panel
# shows the table.
{
  echo "press 350 350"
  echo "key N"
  echo "wait 900000"
  echo "dump"
  echo "press 350 350"
  echo "wait 2000"
  echo "shot $work/table.bmp"
} | "$prefix/bin/mibbetfall-sim" --seed 3 --date 2026-03-01 >"$work/dump.json" 2>"$work/sim.err" ||
  { cat "$work/sim.err"; fail "the installed simulator failed"; }
python3 -c '
import json, sys
state = json.loads(open(sys.argv[1]).readline())
if not state["GameOver"]: sys.exit("FAIL: the orb still stands after fifteen minutes: no high-score table")
' "$work/dump.json"
[ -f "$work/table.bmp" ] || fail "no screenshot of the table"
[ -f "$XDG_DATA_HOME/mibbetfall/hs.bmp" ] || fail "no high-score table in \$XDG_DATA_HOME/mibbetfall"
[ ! -e "$assets/hs.bmp" ] || fail "the high-score table was written into the installed assets"
cp "$work/table.bmp" "$build/installed-table.bmp"

# The installed game shows its window.
start_xvfb
xvfb_pid=$XVFB_PID
"$prefix/bin/mibbetfall" 2>"$work/game.err" &
game_pid=$!
wid=$(find_game_window)
[ -n "$wid" ] || { cat "$work/game.err"; fail "the installed game showed no window"; }
import -window "$wid" "$build/installed-window.png"
[ "$(identify -format '%wx%h' "$build/installed-window.png")" = "903x717" ] || fail "the window is not 903x717"
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=
[ ! -e "$assets/hs.bmp" ] || fail "the installed game wrote its table into the installed assets"
echo "installed into $prefix: programs, assets, menu entry, icons; the table kept in \$XDG_DATA_HOME"
