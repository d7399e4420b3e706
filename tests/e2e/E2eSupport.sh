# Shared steps of the tests that use the program as a person would, each on an X server of its
# own: sourcing this starts it (Xvfb -displayfd picks a free display number itself, so no number
# is searched for; -noreset keeps it up between the program's starts) and sets DISPLAY. An X
# server that does not start fails the test. Every wait polls for what it waits for until a
# deadline, never sleeps a fixed time. $Program is the built trayvane.

set -euo pipefail
# A failure inside $(...) ends the test too, not only the substitution.
shopt -s inherit_errexit

Work=$(mktemp -d "${TMPDIR:-/tmp}/trayvane-e2e-XXXXXX")
# How long a window or a change may take to come: a busy machine (the tests run while others
# build) starts Qt and its dialogs slowly, and one that is on time costs nothing more.
WaitSeconds=30

ProgramPid=""
WindowManagerPid=""
ScreenPid=""
cleanup() {
  if [[ -n "$ProgramPid" ]]; then kill "$ProgramPid" 2>/dev/null || true; fi
  if [[ -n "$WindowManagerPid" ]]; then kill "$WindowManagerPid" 2>/dev/null || true; fi
  if [[ -n "$ScreenPid" ]]; then
    kill "$ScreenPid" 2>/dev/null || true
    wait "$ScreenPid" 2>/dev/null || true
  fi
  rm -rf "$Work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  if [[ -s "$Work/stderr" ]]; then echo "The program said: $(head -c 2000 "$Work/stderr")" >&2; fi
  exit 1
}

# Runs the command given until it succeeds; fails the test, saying "$1", once WaitSeconds have
# passed without. The command's output is that of its successful run; what it leaves in Seen
# (what it saw last) is added to the failure.
Seen=""
wait_until() {
  local what=$1
  shift
  local deadline=$((SECONDS + WaitSeconds))
  Seen=""
  until "$@"; do
    ((SECONDS < deadline)) || fail "$what (waited $WaitSeconds s${Seen:+; last seen: $Seen})"
    sleep 0.1
  done
}

# Starts this test's X server, $ScreenSize (1280x1024 unless the test sets it before sourcing
# this) in 24-bit colour, and waits until it takes clients.
start_screen() {
  local xvfb=${XVFB:-Xvfb}
  command -v "$xvfb" >/dev/null || fail "no X server: $xvfb is not installed"
  # Xvfb writes the display number to descriptor 3 once it takes connections.
  "$xvfb" -displayfd 3 -noreset -nolisten tcp -screen 0 "${ScreenSize:-1280x1024}x24" \
    3>"$Work/display" >"$Work/xvfb.log" 2>&1 &
  ScreenPid=$!
  screen_is_up() {
    kill -0 "$ScreenPid" 2>/dev/null || fail "the X server ended: $(cat "$Work/xvfb.log")"
    grep -qE '^[0-9]+$' "$Work/display"
  }
  wait_until "the X server did not start: $(cat "$Work/xvfb.log")" screen_is_up
  export DISPLAY=":$(head -n 1 "$Work/display")"
  unset XAUTHORITY
  xprop -root >/dev/null 2>&1 || fail "no connection to the X server at $DISPLAY"
}
start_screen

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
  local deadline
  for _ in 1 2 3; do
    openbox --sm-disable >"$Work/openbox.log" 2>&1 &
    WindowManagerPid=$!
    deadline=$((SECONDS + 10))
    while ((SECONDS < deadline)) && kill -0 "$WindowManagerPid" 2>/dev/null; do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
      sleep 0.1
    done
    kill "$WindowManagerPid" 2>/dev/null || true
    wait "$WindowManagerPid" 2>/dev/null || true
    echo "openbox did not take the screen; it said: $(cat "$Work/openbox.log")" >&2
  done
  WindowManagerPid=""
  fail "the window manager did not start"
}

# Prints the id of the first mapped window whose name matches the pattern $1; fails if none.
visible_window_matching() {
  local id
  id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
  [[ -n "$id" ]] && echo "$id"
}

# Waits until a window whose name matches the pattern $1 is mapped and prints its id.
wait_for_window_matching() {
  wait_until "no window matching '$1' appeared" visible_window_matching "$1"
}

# Waits until a window named exactly $1 is mapped and drawn (its top rows show more than one
# colour, as a person sees a window come up), and prints its id.
wait_for_window() {
  local id
  id=$(wait_for_window_matching "^$1\$") || exit 1
  wait_until "the window '$1' was not drawn" window_is_drawn "$id"
  echo "$id"
}

# Whether the top 40 rows of window $1 are drawn: more than a flat colour.
window_is_drawn() {
  local spread
  spread=$(import -window "$1" -crop "x40+0+0" +repage -colorspace Gray \
    -format '%[fx:standard_deviation]' info: 2>/dev/null) || return 1
  awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }'
}

# The outer bounds of window $1, frame included, as "LEFT TOP WIDTH HEIGHT".
frame_bounds() {
  local X Y W H Left Right Top Bottom
  X=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *//p')
  Y=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left Y: *//p')
  W=$(xwininfo -id "$1" | sed -n 's/^ *Width: *//p')
  H=$(xwininfo -id "$1" | sed -n 's/^ *Height: *//p')
  read -r Left Right Top Bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo "$((X - Left)) $((Y - Top)) $((W + Left + Right)) $((H + Top + Bottom))"
}

# Whether window $1 has the keyboard focus.
has_focus() {
  [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]]
}

# Gives window $1 the keyboard focus, through the window manager where one runs, and waits
# until it has it.
focus_window() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null || true
  wait_until "window $1 did not get the keyboard focus" has_focus "$1"
}

# Clicks at ($2, $3) inside window $1.
click_in_window() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

DialogTitlePattern='^(Open|Save As|Save)$'

# Waits for the file dialog, types the path $1 into it and presses Enter.
answer_file_dialog() {
  local dialog
  dialog=$(wait_for_window_matching "$DialogTitlePattern") || exit 1
  focus_window "$dialog"
  # Typed through the keyboard (XTEST), as a person would: Qt ignores keys sent to a window.
  xdotool key ctrl+a
  xdotool type --delay 5 "$1"
  xdotool key Return
  wait_for_window_gone_id "$dialog"
}

# Whether window $1 is gone or unmapped.
window_is_gone() {
  xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
  ! xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable"
}

wait_for_window_gone_id() {
  wait_until "the window $1 did not close" window_is_gone "$1"
}

# Waits until the file $1 exists and is not empty.
wait_for_file() {
  wait_until "no file $1 appeared: $(ls "$(dirname "$1")")" test -s "$1"
}
