#!/usr/bin/env bash
# The window's placement as a person meets it, with a real window manager (openbox) putting frames
# around windows: the first start at the top-left corner of the work area with the designed size;
# stored values that make no sense, or are too small, too large or off the screen, still give a
# visible window of a usable size that can be closed; values stored for some figures only keep the
# designed ones for the rest; a window closed maximised stores what it stores closed normally.
# Usage (on a virtual screen of 1280 x 1024): WindowPlacementTest.sh PROGRAM
Program=$1
source "$(dirname "$0")/E2eSupport.sh"

export QT_QPA_PLATFORM=xcb
# The program ends normally here, so a sanitized build checks for leaks at its end: the system's
# D-Bus library keeps a connection buffer until the process is gone, which is not ours to free.
echo "leak:libdbus-1.so" >"$Work/leaks.supp"
export LSAN_OPTIONS="suppressions=$Work/leaks.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
start_window_manager

Settings="$Work/config/Brenlow/Trayvane.reg"

# Writes the settings file with the values given as NAME=NUMBER.
store() {
  mkdir -p "${Settings%/*}"
  {
    printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Brenlow\\Trayvane]\n'
    for Value in "$@"; do
      printf '"%s"=dword:%08x\n' "${Value%%=*}" $((${Value#*=} & 0xFFFFFFFF))
    done
  } >"$Settings"
}

# The stored values as "LEFT TOP WIDTH HEIGHT".
stored() {
  local Name Figures=()
  for Name in Left Top Width Height; do
    local Hex
    Hex=$(sed -n "s/^\"$Name\"=dword:\([0-9a-f]*\)\$/\1/p" "$Settings")
    [[ -n "$Hex" ]] || fail "no $Name stored: $(cat "$Settings")"
    local Value=$((16#$Hex))
    ((Value >= 2147483648)) && Value=$((Value - 4294967296))
    Figures+=("$Value")
  done
  echo "${Figures[*]}"
}

# Starts the program and sets Window to the id of its window once the window manager has framed
# it and it has stopped moving (the same bounds in five looks in a row).
start_and_settle() {
  start_program
  Window=$(wait_for_window "Trayvane by Brenlow")
  local Before="" Same=0
  settled() {
    local After
    After=$(frame_bounds "$Window" 2>/dev/null || true)
    Seen="bounds $After"
    if [[ -n "$After" && "$After" == "$Before" ]]; then Same=$((Same + 1)); else Same=0; fi
    Before=$After
    ((Same >= 4))
  }
  wait_until "the window did not come to rest" settled
}

# Whether the program has ended.
program_ended() {
  ! kill -0 "$ProgramPid" 2>/dev/null
}

# Closes window $1 through the window manager, as its close button does, and waits for the end.
close_and_wait() {
  wmctrl -i -c "$1"
  wait_until "the window could not be closed" program_ended
  ProgramPid=""
}

# Whether window $1 is maximised both ways.
is_maximised() {
  local State
  State=$(xprop -id "$1" _NET_WM_STATE 2>/dev/null || true)
  Seen=$State
  [[ $State == *_NET_WM_STATE_MAXIMIZED_VERT* && $State == *_NET_WM_STATE_MAXIMIZED_HORZ* ]]
}

# The designed window: a client area of 1200 x 699 in openbox's frame.
start_and_settle
read -r Left Right Top Bottom < <(xprop -id "$Window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
W=$((1200 + Left + Right))
H=$((699 + Top + Bottom))
Designed="0 0 $W $H"
First=$(frame_bounds "$Window")
echo "first start: $First (frame $Left $Right $Top $Bottom)"
[[ "$First" == "$Designed" ]] || fail "the first start is at $First, not $Designed"
close_and_wait "$Window"
[[ "$(stored)" == "$Designed" ]] || fail "stored $(stored) at the first close, not $Designed"

# Closing maximised stores the normal bounds, however often.
for Cycle in 1 2; do
  start_and_settle
  wmctrl -i -r "$Window" -b add,maximized_vert,maximized_horz
  wait_until "the window was not maximised" is_maximised "$Window"
  close_and_wait "$Window"
  [[ "$(stored)" == "$Designed" ]] || fail "closed maximised ($Cycle), it stored $(stored), not $Designed"
done

MinW=$((400 + Left + Right))
MinH=$((300 + Top + Bottom))
Centred="$(((1280 - W) / 2)) $(((1024 - H) / 2)) $W $H"
# Stored values, then the outer bounds the window must open with.
Cases=(
  "Left=100 Top=50 Width=700 Height=500|100 50 700 500"
  "Left=50 Top=50 Width=0 Height=0|$Centred"
  "Left=50 Top=50 Width=-300 Height=-200|$Centred"
  "Left=100 Top=100 Width=5 Height=5|100 100 $MinW $MinH"
  "Left=0 Top=0 Width=100000 Height=100000|0 0 1280 1024"
  "Left=0 Top=0 Width=2147483647 Height=2147483647|0 0 1280 1024"
  "Left=-5000 Top=-5000 Width=700 Height=500|0 0 700 500"
  "Left=5000 Top=5000 Width=700 Height=500|580 524 700 500"
  "Height=600 Left=10 Top=20|10 20 $W 600"
  "Width=1000|0 0 1000 $H"
)
for Case in "${Cases[@]}"; do
  Values=${Case%%|*}
  Expected=${Case#*|}
  # shellcheck disable=SC2086
  store $Values
  start_and_settle
  Got=$(frame_bounds "$Window")
  echo "stored $Values: $Got"
  [[ "$Got" == "$Expected" ]] || fail "stored $Values opened at $Got, not $Expected"
  close_and_wait "$Window"
  [[ "$(stored)" == "$Expected" ]] || fail "stored $Values, closed it stored $(stored)"
done
[[ ! -s "$Work/stderr" ]] || fail "the program wrote errors: $(cat "$Work/stderr")"
echo "all placements as expected"
