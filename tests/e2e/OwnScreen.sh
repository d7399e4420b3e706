# Starts an X server of the test's own, of the size given as WIDTHxHEIGHT in $1, and exports its
# DISPLAY. Xvfb picks a free display number itself and tells it through a pipe (-displayfd): no
# number is searched for, so tests on one machine never meet each other's servers. The server is
# ended when the test script exits (stop_own_screen, which the script's trap must call).
# Sourced by the test scripts.

OwnScreenPid=""
start_own_screen() {
  local Fifo Number=""
  Fifo=$(mktemp -u "${TMPDIR:-/tmp}/trayvane-display-XXXXXX")
  mkfifo "$Fifo"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$Fifo" 2>/dev/null &
  OwnScreenPid=$!
  # The number arrives as one line once the server listens; 30 s for a busy machine.
  exec 4<"$Fifo"
  rm -f "$Fifo"
  read -r -t 30 Number <&4 || true
  exec 4<&-
  [[ -n "$Number" ]] || { echo "FAILED: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$Number"
}

stop_own_screen() {
  if [[ -n "$OwnScreenPid" ]]; then
    kill "$OwnScreenPid" 2>/dev/null || true
    wait "$OwnScreenPid" 2>/dev/null || true
  fi
}
