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
Window=$(wait_for_window "Trayvane by Brenlow")
click_in_window "$Window" 40 40 # Open
answer_file_dialog "$Work/wrap.jpg"

# The lower view shows the composed inlay once the cover is loaded.
eval "$(xdotool getwindowgeometry --shell "$Window")"
shows_an_inlay() {
  local spread
  spread=$(import -window "$Window" -crop "1200x303+0+376" +repage -colorspace Gray \
    -format '%[fx:standard_deviation]' info:)
  Seen="grey-level spread of the output view $spread"
  awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }'
}
wait_until "the opened cover was not composed" shows_an_inlay

focus_window "$Window"
xdotool key ctrl+p
Preview=$(wait_for_window_matching "^Print Preview")
# The print button is the last one on the preview's tool bar: the rightmost dark pixels in it,
# once the tool bar is drawn (the same in two screenshots in a row).
Right=0
has_tool_bar() {
  local before=$Right
  import -window "$Preview" "$Work/preview.png"
  Right=$(convert "$Work/preview.png" -crop "x1+0+18" +repage -colorspace Gray -threshold 80% txt:- |
    awk -F'[,:]' '/#000000|black/ { x = $1 } END { print x + 0 }')
  Seen="rightmost dark pixel at $Right"
  ((Right > 100 && Right == before))
}
wait_until "no tool bar in the print preview" has_tool_bar
click_in_window "$Preview" $((Right - 10)) 18
Dialog=$(wait_for_window_matching "^Print$")
focus_window "$Dialog"
xdotool key Return
wait_for_window_gone_id "$Dialog"

# The printer writes the file as it goes: it is looked at until it is a whole PDF of one page.
Printed="$Work/wrap-inlay.pdf"
is_one_page_pdf() {
  Seen=$(pdfinfo "$Printed" 2>&1 | grep -E '^Pages|rror' | head -n 2 || true)
  pdfinfo "$Printed" 2>/dev/null | grep -q '^Pages: *1$'
}
wait_until "no PDF of one page was printed to $Printed: $(ls "$Work")" is_one_page_pdf

"$Compose" "$Work/wrap.jpg" "$Work/batch.pdf" || fail "trayvane-compose failed"
pdftoppm -r 100 -singlefile "$Printed" "$Work/printed"
pdftoppm -r 100 -singlefile "$Work/batch.pdf" "$Work/batch"
Differing=$(compare -metric AE "$Work/printed.ppm" "$Work/batch.ppm" null: 2>&1 || true)
echo "pixels differing from trayvane-compose's sheet: $Differing"
[[ "$Differing" == 0 ]] || fail "the printed sheet differs from trayvane-compose's in $Differing pixels"
[[ ! -s "$Work/stderr" ]] || fail "the program wrote errors: $(cat "$Work/stderr")"
