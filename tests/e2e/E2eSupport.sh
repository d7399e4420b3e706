# Shared steps of the tests that use the program as a person would, on a virtual screen
# (xvfb-run provides DISPLAY). Sourced by the test scripts; $Program is the built trayvane.

set -euo pipefail

Work=$(mktemp -d "${TMPDIR:-/tmp}/trayvane-e2e-XXXXXX")
# How long a window may take to come or go: a busy machine (the tests run while others build)
# starts Qt and its dialogs slowly, and a window that is on time costs nothing more.
WindowWaitTenths=300

ProgramPid=""
WindowManagerPid=""
cleanup() {
  if [[ -n "$ProgramPid" ]]; then kill "$ProgramPid" 2>/dev/null || true; fi
  if [[ -n "$WindowManagerPid" ]]; then kill "$WindowManagerPid" 2>/dev/null || true; fi
  rm -rf "$Work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  if [[ -s "$Work/stderr" ]]; then echo "The program said: $(head -c 2000 "$Work/stderr")" >&2; fi
  exit 1
}

# Starts the program, with the arguments given, and its own settings folder; its standard error
# goes to $Work/stderr.
start_program() {
  export XDG_CONFIG_HOME="$Work/config"
  export XDG_RUNTIME_DIR="$Work/runtime"
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  "$Program" "$@" 2>"$Work/stderr" &
  ProgramPid=$!
}

# Starts openbox, as a person's desktop has a window manager, and waits until it manages the
# screen: a window mapped while it is still starting may never be shown. An openbox that has not
# taken the screen within ten seconds is replaced by a new one, twice at the most.
start_window_manager() {
  for _ in 1 2 3; do
    openbox --sm-disable >"$Work/openbox.log" 2>&1 &
    WindowManagerPid=$!
    for _ in $(seq 1 100); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
      kill -0 "$WindowManagerPid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$WindowManagerPid" 2>/dev/null || true
    wait "$WindowManagerPid" 2>/dev/null || true
    echo "openbox did not take the screen; it said: $(cat "$Work/openbox.log")" >&2
  done
  WindowManagerPid=""
  fail "the window manager did not start"
}

# Waits until a window named exactly $1 is mapped and prints its id.
wait_for_window() {
  wait_for_window_matching "^$1\$"
}

# Clicks at ($2, $3) inside window $1.
click_in_window() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Waits for the file dialog, types the path $1 into it and presses Enter.
answer_file_dialog() {
  local dialog
  dialog=$(wait_for_window_matching "$DialogTitlePattern")
  xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"
  sleep 0.3
  # Typed through the keyboard (XTEST), as a person would: Qt ignores keys sent to a window.
  xdotool key ctrl+a
  xdotool type --delay 5 "$1"
  xdotool key Return
  wait_for_window_gone_id "$dialog"
}

DialogTitlePattern='^(Open|Save As|Save)$'

# Waits until a window whose name matches the pattern $1 is mapped and prints its id.
wait_for_window_matching() {
  local id=""
  for _ in $(seq 1 "$WindowWaitTenths"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window matching '$1' appeared"
}

wait_for_window_gone_id() {
  for _ in $(seq 1 "$WindowWaitTenths"); do
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
    xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable" || return 0
    sleep 0.1
  done
  fail "the dialog did not close"
}
