#!/usr/bin/env bash
# How lean the real game is beside a peer, in one run under one Xvfb with the dummy audio driver:
# the time from exec to a visible window, the peak resident memory, and the CPU share on the title
# screen; for our game also while playing, with the pointer still and with it sweeping the field
# about 60 times a second, as a player's hand does. The peer is Pingus, Debian's `pingus`; it is
# needed for the comparison only (apt-get install pingus), and left out with a note when absent.
#
# Usage: bench/lean_start.sh path/to/mibbetfall [SECONDS] [SCALE...]
#   SECONDS  length of each CPU measurement (default 10)
#   SCALE    run our game once at each --scale given (default: once, at the scale it picks itself)
set -euo pipefail
game=$(realpath "$1")
seconds=${2:-10}
scales=("${@:3}")
peer=/usr/games/pingus
work=$(mktemp -d)
source "$(dirname "$0")/../tools/xvfb.sh"
# Large enough for the game at scale 2.
start_xvfb 1920x1440x24
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; kill $XVFB_PID 2>/dev/null; rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data"
hz=$(getconf CLK_TCK)

now_ms() { echo $(($(date +%s%N) / 1000000)); }
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
# Percent of one core that $pid used over the next $seconds seconds.
cpu_share() {
  local before after
  before=$(ticks)
  sleep "$seconds"
  after=$(ticks)
  awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }'
}
peak_rss_mb() { awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status"; }

# Starts a program and waits for its visible window named by the pattern; polls every 10 ms the
# same way for every program. Sets pid, wid and window_ms.
launch() {
  local pattern=$1 started
  shift
  started=$(now_ms)
  "$@" >/dev/null 2>&1 &
  pid=$!
  wid=
  for _ in $(seq 3000); do
    wid=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1 || true)
    [ -n "$wid" ] && break
    sleep 0.01
  done
  window_ms=$(($(now_ms) - started))
  [ -n "$wid" ] || { echo "no window matching $pattern appeared"; exit 1; }
}

# The first start after the X server's may pay for its warming up, and any start for a busy
# moment: the window time is the median of three starts, and the last start stays running.
launch_median() {
  local times=()
  for run in 1 2 3; do
    [ "$run" -gt 1 ] && finish
    launch "$@"
    times+=("$window_ms")
  done
  window_ms=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 2p)
}

finish() {
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
}

# One xdotool process moves the pointer back and forth across the field, one move every 16 ms.
sweep_field() {
  local moves=() x
  for ((i = 0; i < seconds * 60; i++)); do
    x=$((40 + (i * 12) % 640))
    moves+=(mousemove --window "$wid" "$x" $((80 + (i * 7) % 560)) sleep 0.016)
  done
  xdotool "${moves[@]}" >/dev/null 2>&1
}

rows=()
row() { rows+=("$(printf '%-28s %9s %9s %9s %9s %9s' "$@")"); }

run_ours() {
  local label=mibbetfall scale_args=()
  [ -n "${1:-}" ] && { label="mibbetfall --scale $1"; scale_args=(--scale "$1"); }
  launch_median '^Mibbetfall$' "$game" "${scale_args[@]}"
  local geometry
  geometry=$(xdotool getwindowgeometry "$wid" | awk '/Geometry/ {print $2}')
  sleep 2  # start-up is not idling
  local title still moving
  title=$(cpu_share)
  local scale=${1:-$(( ${geometry%x*} / 903 ))}
  xdotool mousemove --window "$wid" $((350 * scale)) $((350 * scale)) click 1
  sleep 0.5
  xdotool key --window "$wid" n
  sleep 2
  still=$(cpu_share)
  # The moves take a little longer than their pauses: the share is of the time they really took.
  local before after started
  before=$(ticks)
  started=$(now_ms)
  sweep_field
  after=$(ticks)
  moving=$(awk -v t=$((after - before)) -v hz="$hz" -v ms=$(($(now_ms) - started)) \
    'BEGIN { printf "%.2f", 100 * t / hz / (ms / 1000) }')
  row "$label ($geometry)" "$window_ms" "$(peak_rss_mb)" "$title" "$still" "$moving"
  finish
}

run_peer() {
  if [ ! -x "$peer" ]; then
    notes+=("Pingus is not installed (apt-get install pingus): no peer to compare with")
    return
  fi
  launch_median '^Pingus' "$peer" -w
  sleep 2
  local title
  title=$(cpu_share)
  row "pingus -w (title menu)" "$window_ms" "$(peak_rss_mb)" "$title" "-" "-"
  finish
}

notes=()
if [ ${#scales[@]} -eq 0 ]; then run_ours; else for s in "${scales[@]}"; do run_ours "$s"; done; fi
run_peer

echo "CPU in % of one core over $seconds s; window = ms from exec to a visible window (median of 3 starts)"
printf '%-28s %9s %9s %9s %9s %9s\n' program "window ms" "peak MB" "title %" "play %" "moving %"
printf '%s\n' "${rows[@]}"
for n in "${notes[@]}"; do echo "note: $n"; done
