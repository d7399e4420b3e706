#!/usr/bin/env bash
# Prints as a person would: opens a cover through the Open dialog, presses Ctrl+P, clicks the
# print button of the print preview, and accepts the print dialog, which offers "Print to File
# (PDF)" where there is no printer. Checks the PDF: one page, the sheet trayvane-compose writes
# for the same cover, pixel for pixel.
# Usage (on a virtual screen): PrintThroughTheDialogTest.sh PROGRAM TRAYVANE-COMPOSE
Program=$1
Compose=$2
source "$(dirname "$0")/E2eSupport.sh"

# The print dialog offers HOME/NAME-inlay.pdf for the PDF; the paper follows the locale.
export HOME="$Work" LANG=C.UTF-8 LC_ALL= LC_PAPER=
convert -size 900x420 gradient:navy-orange -quality 92 "$Work/wrap.jpg"

start_window_manager
start_program
Window=$(wait_for_window_matching "^Trayvane by Brenlow$")
sleep 0.5
click_in_window "$Window" 40 40 # Open
answer_file_dialog "$Work/wrap.jpg"
sleep 0.5

xdotool windowactivate --sync "$Window" 2>/dev/null || xdotool windowfocus --sync "$Window"
xdotool key ctrl+p
Preview=$(wait_for_window_matching "^Print Preview")
sleep 1
# The print button is the last one on the preview's tool bar: the rightmost dark pixels in it.
import -window "$Preview" "$Work/preview.png"
Right=$(convert "$Work/preview.png" -crop "x1+0+18" +repage -colorspace Gray -threshold 80% txt:- |
  awk -F'[,:]' '/#000000|black/ { x = $1 } END { print x + 0 }')
((Right > 100)) || fail "no tool bar in the print preview"
click_in_window "$Preview" $((Right - 10)) 18
Dialog=$(wait_for_window_matching "^Print$")
sleep 0.5
xdotool key Return
wait_for_window_gone_id "$Dialog"

Printed="$Work/wrap-inlay.pdf"
for _ in $(seq 1 50); do [[ -s "$Printed" ]] && break; sleep 0.1; done
[[ -s "$Printed" ]] || fail "nothing was printed to $Printed: $(ls "$Work")"
pdfinfo "$Printed" | grep -q '^Pages: *1$' || fail "the PDF has not one page"

"$Compose" "$Work/wrap.jpg" "$Work/batch.pdf" || fail "trayvane-compose failed"
pdftoppm -r 100 -singlefile "$Printed" "$Work/printed"
pdftoppm -r 100 -singlefile "$Work/batch.pdf" "$Work/batch"
Differing=$(compare -metric AE "$Work/printed.ppm" "$Work/batch.ppm" null: 2>&1 || true)
echo "pixels differing from trayvane-compose's sheet: $Differing"
[[ "$Differing" == 0 ]] || fail "the printed sheet differs from trayvane-compose's in $Differing pixels"
[[ ! -s "$Work/stderr" ]] || fail "the program wrote errors: $(cat "$Work/stderr")"
