#!/usr/bin/env bash
# CPU used by the real game idling on its splash screen (title picture and scrolling text),
# under Xvfb with the dummy audio driver. Usage: idle_cpu.sh path/to/mibbetfall [seconds]
set -euo pipefail
game=$1
seconds=${2:-60}
source "$(dirname "$0")/../tools/xvfb.sh"
start_xvfb
trap 'kill $XVFB_PID 2>/dev/null || true' EXIT

SDL_AUDIODRIVER=dummy "$game" &
pid=$!
sleep 2  # start-up is not idling
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
kill -TERM "$pid"
wait "$pid" || true
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "idle on the splash: %.2f CPU seconds in %d s (%.2f %%)\n", t / hz, s, 100 * t / hz / s }'
