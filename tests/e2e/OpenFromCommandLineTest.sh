#!/usr/bin/env bash
# Starts the program as a file manager's "Open With" does, with a picture on its command line,
# and looks at the window: a cover is composed at once into the lower view; an unreadable file
# leaves one record in the log and a sentence in the warning colour in the status line below
# the lower view, and no other window (no message box).
# Usage (on a virtual screen): OpenFromCommandLineTest.sh PROGRAM SCREENSHOT-FOLDER
Program=$1
Shots=$2
source "$(dirname "$0")/E2eSupport.sh"

Log="${Program%/*}/trayvane.log"
records() { grep -c '^Exception = ' "$Log" 2>/dev/null || true; }
has_records() { Seen="$(records) records"; [[ $(records) == "$1" ]]; }

# Spread of the grey levels in a part of screenshot $1: 0 for a flat colour.
spread() {
  convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:standard_deviation]' info:
}
# The share of the pixels of a part of screenshot $1 that are of the warning colour B01E14.
warning_share() {
  convert "$1" -crop "$2" +repage -fuzz 22% -fill black +opaque '#B01E14' -fill white \
    -opaque '#B01E14' -colorspace Gray -format '%[fx:mean]' info:
}
# Waits for the window and looks at it until the screenshot $1 passes the check $2 (a command
# that reads OutputPart and StatusPart of the shot).
look_at() {
  local shot=$1 check=$2
  Window=$(wait_for_window "Trayvane by Brenlow")
  eval "$(xdotool getwindowgeometry --shell "$Window")"
  [[ "$WIDTH" == 1200 && "$HEIGHT" == 699 ]] || fail "window is ${WIDTH}x${HEIGHT}, not 1200x699"
  OutputPart="1200x303+$X+$((Y + 376))"
  StatusPart="1200x20+$X+$((Y + 679))"
  shoot_and_check() {
    import -window root "$shot"
    "$check" "$shot"
  }
  wait_until "the window does not show what it should ($check)" shoot_and_check
}
# A composed cover and no warning.
shows_the_cover() {
  Output=$(spread "$1" "$OutputPart")
  Warning=$(warning_share "$1" "$StatusPart")
  Seen="output view spread $Output, warning share of the status line $Warning"
  awk -v o="$Output" -v w="$Warning" 'BEGIN { exit !(o > 0.02 && w < 0.002) }'
}
# A warning in the status line.
shows_a_warning() {
  Warning=$(warning_share "$1" "$StatusPart")
  Seen="warning share of the status line $Warning"
  awk -v w="$Warning" 'BEGIN { exit !(w > 0.01) }'
}
stop_program() {
  kill -0 "$ProgramPid" 2>/dev/null || fail "the program ended by itself: $(cat "$Work/stderr")"
  kill "$ProgramPid"
  wait "$ProgramPid" 2>/dev/null || true
  ProgramPid=""
}

# A wrap-around cover: composed at once, nothing logged, no warning.
convert -size 3000x1000 gradient:navy-orange -quality 92 "$Work/cover.jpg"
Before=$(records)
start_program "$Work/cover.jpg"
look_at "$Shots/open-cover.png" shows_the_cover
echo "cover: $Seen"
[[ $(records) == "$Before" ]] || fail "opening the cover logged an error: $(tail -c 400 "$Log")"
stop_program

# A file that is no JPEG: one record, the status line says so in the warning colour.
printf 'no picture here' >"$Work/damaged.jpg"
start_program "$Work/damaged.jpg"
look_at "$Shots/open-damaged.png" shows_a_warning
echo "damaged: $Seen"
wait_until "not one record for damaged.jpg: $(tail -c 600 "$Log")" has_records $((Before + 1))
tail -n 7 "$Log" | grep -q 'damaged.jpg' || fail "the record is not that of damaged.jpg"
Windows=$(xdotool search --onlyvisible --pid "$ProgramPid" 2>/dev/null | wc -l)
[[ $Windows -le 1 ]] || fail "the program shows $Windows windows: a message box?"
stop_program
echo "screenshots: $Shots/open-cover.png, $Shots/open-damaged.png"
