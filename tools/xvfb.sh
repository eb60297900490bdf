# Starts a private Xvfb server and points DISPLAY at it; sets XVFB_PID. Sourced, not run.
# Xvfb picks a free display number itself and reports it once it accepts connections. Without
# -noreset it starts itself over whenever its last client leaves, and a program that connects in
# that moment is turned away: a game started right after another one stopped could not open its
# window.
# start_xvfb [WIDTHxHEIGHTxDEPTH]: the screen, 1024x768x24 unless given.
start_xvfb() {
  local screen=${1:-1024x768x24} numberfile
  numberfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$numberfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 300); do
    [ -s "$numberfile" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  local number
  number=$(tr -d '[:space:]' <"$numberfile")
  rm -f "$numberfile"
  [ -n "$number" ] || { echo "Xvfb did not start"; return 1; }
  export DISPLAY=":$number"
}

# Waits for the game's window (the loading banner comes and goes first), focuses it and prints
# its id; prints nothing when no window appears within 20 seconds.
find_game_window() {
  local wid=
  for _ in $(seq 200); do
    wid=$(xdotool search --onlyvisible --name '^Mibbetfall$' 2>/dev/null | head -1 || true)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -n "$wid" ] && xdotool windowfocus --sync "$wid"
  echo "$wid"
}

# For a test script's EXIT trap: stops the game ($game_pid) and Xvfb ($xvfb_pid) where they run
# and removes the scratch folder ($work).
stop_game_and_xvfb() {
  [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
