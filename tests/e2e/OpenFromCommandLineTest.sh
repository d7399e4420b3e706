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

# Spread of the grey levels in a part of screenshot $1: 0 for a flat colour.
spread() {
  convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:standard_deviation]' info:
}
# The share of the pixels of a part of screenshot $1 that are of the warning colour B01E14.
warning_share() {
  convert "$1" -crop "$2" +repage -fuzz 22% -fill black +opaque '#B01E14' -fill white \
    -opaque '#B01E14' -colorspace Gray -format '%[fx:mean]' info:
}
look_at() {
  local shot=$1
  Window=$(wait_for_window "Trayvane by Brenlow") || fail "no window; the program said: $(cat "$Work/stderr")"
  sleep 1.5
  import -window root "$shot"
  eval "$(xdotool getwindowgeometry --shell "$Window")"
  [[ "$WIDTH" == 1200 && "$HEIGHT" == 699 ]] || fail "window is ${WIDTH}x${HEIGHT}, not 1200x699"
  OutputPart="1200x303+$X+$((Y + 376))"
  StatusPart="1200x20+$X+$((Y + 679))"
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
look_at "$Shots/open-cover.png"
Output=$(spread "$Shots/open-cover.png" "$OutputPart")
Warning=$(warning_share "$Shots/open-cover.png" "$StatusPart")
echo "cover: output view spread $Output, warning share of the status line $Warning"
awk -v o="$Output" -v w="$Warning" 'BEGIN { exit !(o > 0.02 && w < 0.002) }' ||
  fail "the cover from the command line was not composed, or a warning shows"
[[ $(records) == "$Before" ]] || fail "opening the cover logged an error: $(tail -c 400 "$Log")"
stop_program

# A file that is no JPEG: one record, the status line says so in the warning colour.
printf 'no picture here' >"$Work/damaged.jpg"
start_program "$Work/damaged.jpg"
look_at "$Shots/open-damaged.png"
Warning=$(warning_share "$Shots/open-damaged.png" "$StatusPart")
echo "damaged: warning share of the status line $Warning"
awk -v w="$Warning" 'BEGIN { exit !(w > 0.01) }' || fail "the status line shows no warning"
[[ $(records) == $((Before + 1)) ]] || fail "not one record for damaged.jpg: $(tail -c 600 "$Log")"
tail -n 7 "$Log" | grep -q 'damaged.jpg' || fail "the record is not that of damaged.jpg"
Windows=$(xdotool search --onlyvisible --pid "$ProgramPid" 2>/dev/null | wc -l)
[[ $Windows -le 1 ]] || fail "the program shows $Windows windows: a message box?"
stop_program
echo "screenshots: $Shots/open-cover.png, $Shots/open-damaged.png"
