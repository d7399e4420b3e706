#!/usr/bin/env bash
# Does the whole job as a person would: opens a JPEG through the Open dialog by typing its path,
# saves the inlay through the Save dialog by typing a name without extension, and checks the
# saved file: named with ".JPG", a JPEG of the inlay's size, 1510 : 1175.
# Usage (on a virtual screen): OpenAndSaveTest.sh PROGRAM
Program=$1
source "$(dirname "$0")/E2eSupport.sh"

# A back card, 1500 x 1000: the back layout, composed 1560 x 1000 and stretched to 1560 x 1213.
convert -size 1000x1500 gradient:navy-orange -rotate 90 -quality 92 "$Work/back card.jpg"

start_program
Window=$(wait_for_window "Trayvane by Brenlow")
sleep 0.5

click_in_window "$Window" 40 40 # Open
answer_file_dialog "$Work/back card.jpg"
sleep 0.5
click_in_window "$Window" 150 40 # Save
answer_file_dialog "$Work/inlay"

Saved="$Work/inlay.JPG"
for _ in $(seq 1 50); do [[ -s "$Saved" ]] && break; sleep 0.1; done
[[ -s "$Saved" ]] || fail "no inlay was saved: $(ls "$Work")"
read -r Width Height < <(identify -format '%w %h\n' "$Saved")
echo "saved $Saved: $Width x $Height"
[[ "$Width" == 1560 && "$Height" == 1213 ]] || fail "the inlay is ${Width}x${Height}, not 1560x1213"
[[ $((Width * 1175 / 1510)) == "$Height" ]] || fail "the inlay is not 1510 : 1175"
[[ ! -s "$Work/stderr" ]] || fail "the program wrote errors: $(cat "$Work/stderr")"
