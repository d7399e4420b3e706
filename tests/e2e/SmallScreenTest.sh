#!/usr/bin/env bash
# The first window on a netbook screen (1024 x 600) under a window manager: it opens whole within
# the work area, frame and status line included, though the designed window is larger; F1 shows
# the program's own help, "Trayvane Help" (no browser is installed), once however often F1 is
# pressed, and Esc closes it. A screenshot of each state is kept for a look.
# Usage: SmallScreenTest.sh PROGRAM [SHOT-PREFIX]
Program=$1
ShotPrefix=${2:-}
ScreenSize=1024x600
source "$(dirname "$0")/E2eSupport.sh"

export QT_QPA_PLATFORM=xcb
echo "leak:libdbus-1.so" >"$Work/leaks.supp"
export LSAN_OPTIONS="suppressions=$Work/leaks.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
start_window_manager

# Waits until window $1 has its frame and has stopped moving (the same bounds twice in a row),
# and prints its outer bounds.
settled_bounds() {
  local Before=""
  has_settled() {
    local After
    After=$(frame_bounds "$1" 2>/dev/null || true)
    Seen=$After
    if [[ -n "$After" && "$After" == "$Before" ]] &&
      xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; then
      return 0
    fi
    Before=$After
    return 1
  }
  wait_until "window $1 did not settle" has_settled "$1"
  echo "$Before"
}

# Fails unless bounds $2 ("LEFT TOP WIDTH HEIGHT") lie within 1024 x 600; $1 names the window.
expect_on_screen() {
  local Left Top Width Height
  read -r Left Top Width Height <<<"$2"
  ((Left >= 0 && Top >= 0 && Left + Width <= 1024 && Top + Height <= 600)) ||
    fail "$1 is at $2, not wholly on the 1024 x 600 screen"
}

shot() {
  [[ -n "$ShotPrefix" ]] && import -window root "$ShotPrefix-$1.png" 2>/dev/null || true
}

count_windows() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l
}

start_program
Window=$(wait_for_window "Trayvane by Brenlow")
Bounds=$(settled_bounds "$Window")
echo "the window: $Bounds"
expect_on_screen "the window" "$Bounds"
# The client area, whose last lines are the status line, within the frame.
ClientBottom=$(($(xwininfo -id "$Window" | sed -n 's/.*Absolute upper-left Y: *//p') +
  $(xwininfo -id "$Window" | sed -n 's/^ *Height: *//p')))
((ClientBottom <= 600)) || fail "the status line ends at $ClientBottom, below the screen"
shot window

xdotool windowactivate --sync "$Window" 2>/dev/null || xdotool windowfocus --sync "$Window"
xdotool key F1
Help=$(wait_for_window "Trayvane Help")
HelpBounds=$(settled_bounds "$Help")
echo "the help: $HelpBounds"
expect_on_screen "the help window" "$HelpBounds"
shot help

# F1 again, from the main window: still one help window.
xdotool windowactivate --sync "$Window" 2>/dev/null || xdotool windowfocus --sync "$Window"
xdotool key F1
Front=$(wait_for_window "Trayvane Help")
[[ "$Front" == "$Help" ]] || fail "F1 again made a second help window"
(($(count_windows "Trayvane Help") == 1)) || fail "$(count_windows "Trayvane Help") help windows"

xdotool windowactivate --sync "$Help" 2>/dev/null || xdotool windowfocus --sync "$Help"
xdotool key Escape
wait_for_window_gone_id "$Help"
kill -0 "$ProgramPid" 2>/dev/null || fail "Esc in the help ended the program"
[[ ! -s "$Work/stderr" ]] || fail "the program wrote errors: $(cat "$Work/stderr")"
echo "the window and its help fit the small screen"
