#!/usr/bin/env bash
# Starts the program as a person would, finds its window by its caption, takes a screenshot and
# checks what it shows: the ribbon, the placeholder picture in the input view, an empty output
# view, and no error in the log.
# Usage (on a virtual screen): StartAndLookTest.sh PROGRAM SCREENSHOT
Program=$1
Shot=$2
source "$(dirname "$0")/E2eSupport.sh"

Log="${Program%/*}/trayvane.log"
LogBefore=$(stat -c %s "$Log" 2>/dev/null || echo 0)

start_program
Window=$(wait_for_window "Trayvane by Brenlow")
sleep 1.5
import -window root "$Shot"
eval "$(xdotool getwindowgeometry --shell "$Window")"
[[ "$WIDTH" == 1200 && "$HEIGHT" == 699 ]] || fail "window is ${WIDTH}x${HEIGHT}, not 1200x699"

# Spread of the grey levels in a part of the screenshot: 0 for a flat colour.
spread() {
  convert "$Shot" -crop "$1" +repage -colorspace Gray -format '%[fx:standard_deviation]' info:
}
Ribbon=$(spread "${WIDTH}x97+$X+$Y")
Input=$(spread "${WIDTH}x276+$X+$((Y + 97))")
Output=$(spread "${WIDTH}x303+$X+$((Y + 376))")
echo "grey-level spread: ribbon $Ribbon, input view $Input, output view $Output"
awk -v r="$Ribbon" -v i="$Input" -v o="$Output" 'BEGIN { exit !(r > 0.02 && i > 0.05 && o < 0.001) }' ||
  fail "the screenshot does not show the ribbon, the placeholder and an empty output view"

# The input view's background around the placeholder is the pale blue-grey E4E7EE.
Corner=$(convert "$Shot" -format "%[hex:p{$((X + 2)),$((Y + 99))}]" info:)
[[ "$Corner" == E4E7EE* ]] || fail "the input view's background is #$Corner, not #E4E7EE"

LogAfter=$(stat -c %s "$Log" 2>/dev/null || echo 0)
[[ "$LogAfter" == "$LogBefore" ]] || fail "the start wrote to the error log: $(tail -c 400 "$Log")"
echo "screenshot: $Shot"
