#!/usr/bin/env bash
# What the game says when it cannot start: a display that does not answer is named, a missing
# Assets folder gives one line naming it, and so does a recording that cannot be replayed. Each
# ends with exit status 1. A bad scale is an argument error.
set -euo pipefail
game=$1
version=$2  # the build's, which a recording must name
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_RUNTIME_DIR=$work XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

fail() {
  echo "FAIL: $1"
  echo "--- stderr:"
  cat "$work/err"
  exit 1
}

# Runs the game and checks its exit status and its own lines on stderr (SDL may add its own).
expect_one_line() {
  local pattern=$1 status=0
  shift
  timeout 20 "$@" 2>"$work/err" >/dev/null || status=$?
  [ "$status" -eq 1 ] || fail "exit status $status, not 1"
  local lines
  lines=$(grep -c '^mibbetfall:' "$work/err" || true)
  [ "$lines" -eq 1 ] || fail "$lines lines from the game, not one"
  grep -q "$pattern" "$work/err" || fail "no line matching: $pattern"
}

# A display number that nothing serves.
number=55
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
DISPLAY=":$number" expect_one_line "^mibbetfall: cannot open the display :$number: " "$game"
DISPLAY= expect_one_line "^mibbetfall: no display to open the game window on: no X11 or Wayland display is set" "$game"

# The game alone in a folder: no Assets beside it.
mkdir "$work/bin"
cp "$game" "$work/bin/mibbetfall"
SDL_VIDEODRIVER=dummy expect_one_line "^mibbetfall: the game's Assets folder $work/bin/Assets/ is missing" \
  "$work/bin/mibbetfall"
printf 'wait 10\n' >"$work/damaged.replay"
DISPLAY= expect_one_line "^mibbetfall: $work/damaged.replay is not a Mibbetfall recording" \
  "$game" --replay "$work/damaged.replay"
printf '# mibbetfall recording version=0.1.0.0 seed=5 date=2026-03-01\nwait 10\n' >"$work/old.replay"
DISPLAY= expect_one_line "^mibbetfall: $work/old.replay was recorded by version 0.1.0.0" \
  "$game" --replay "$work/old.replay"
# A recording is read whole before anything opens: damage far into it, a screenshot or a dump it
# asks for, and a line longer than any a recording holds are refused in one line, as a damaged
# header is, and the screenshot is never written.
header="# mibbetfall recording version=$version seed=5 date=2026-03-01"
{
  echo "$header"
  for _ in $(seq 500); do echo "wait 10"; done
  echo "wiggle 1 2"
} >"$work/late.replay"
DISPLAY= expect_one_line "^mibbetfall: $work/late.replay: line 502 is not an input or a wait; nothing of it was played" \
  "$game" --replay "$work/late.replay"
printf '%s\nwait 10\nshot %s\n' "$header" "$work/planted.bmp" >"$work/shot.replay"
DISPLAY= expect_one_line "^mibbetfall: $work/shot.replay: line 3 is not an input or a wait" "$game" --replay "$work/shot.replay"
[ ! -e "$work/planted.bmp" ] || fail "a recording wrote a screenshot"
{
  echo "$header"
  head -c 300000 /dev/zero | tr '\0' '#'
  echo
} >"$work/long.replay"
DISPLAY= expect_one_line "^mibbetfall: $work/long.replay: line 2 is longer than any line of a recording" \
  "$game" --replay "$work/long.replay"
# A scale that is no whole number from 1 to 8 is refused before anything opens, as every wrong
# argument is: the reason and the usage, exit status 2.
for scale in 0 9 -1 2x 1.5 "" abc; do
  status=0
  DISPLAY= timeout 20 "$game" --scale "$scale" 2>"$work/err" >/dev/null || status=$?
  [ "$status" -eq 2 ] || fail "--scale '$scale': exit status $status, not 2"
  if [ -n "$scale" ]; then
    grep -q "^mibbetfall: --scale takes a whole number from 1 to 8, not $scale$" "$work/err" || fail "--scale '$scale' not refused"
  fi
  grep -q "^usage: mibbetfall \[--scale N\] \[--fullscreen\]" "$work/err" || fail "--scale '$scale': no usage line"
done
echo "host messages: ok"
