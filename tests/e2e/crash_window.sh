#!/usr/bin/env bash
# A crash of the real window: the game is killed by SIGSEGV while playing, in debug mode. It must
# exit non-zero, name its report on stderr, leave the report (with its last debug lines) in the
# player's state folder, and put the report in front of the player in a message box.
set -euo pipefail
game=$1
work=$(mktemp -d)
source "$(dirname "$0")/../../tools/xvfb.sh"
trap 'pkill -f -- "--show-crash-report $work" 2>/dev/null || true; stop_game_and_xvfb' EXIT
fail() {
  echo "$*"
  exit 1
}

start_xvfb
xvfb_pid=$XVFB_PID
export SDL_AUDIODRIVER=dummy XDG_STATE_HOME=$work/state
"$game" 2>"$work/stderr" &
game_pid=$!
wid=$(find_game_window)
[ -n "$wid" ] || fail "no game window"
xdotool mousemove --window "$wid" 350 350 click 1
xdotool key n

kill -SEGV "$game_pid"
status=0
wait "$game_pid" || status=$?
game_pid=
[ "$status" -ne 0 ] || fail "the crashed game exited with 0"
report=$(ls "$work"/state/mibbetfall/crash-*.txt 2>/dev/null | head -1)
[ -n "$report" ] || fail "no report in the state folder; stderr: $(cat "$work/stderr")"
grep -q "a report is in $report" "$work/stderr" || fail "stderr does not name the report"
grep -q "^Version: 1.8.0.0" "$report" || fail "the report has no version"
grep -q "SIGSEGV" "$report" || fail "the report does not name the signal"
grep -q "PlayInWindow" "$report" || fail "the stack trace is not symbolised"
recording=$(sed -n 's/^Recording: //p' "$report")
case "$recording" in "$work"/state/mibbetfall/recordings/game-*.replay) ;; *) fail "the report names no recording" ;; esac
head -1 "$recording" | grep -q "^# mibbetfall recording version=1.8.0.0 seed=" || fail "the named recording has no header"

# SDL's message box is a plain X window with its title as its name (xdotool's search misses it).
box=
for _ in $(seq 100); do
  box=$(xwininfo -root -tree | grep -o '0x[0-9a-f]* "Mibbetfall crashed"' | head -1 || true)
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no message box shows the report"
echo "crash report $report shown in window $box"
