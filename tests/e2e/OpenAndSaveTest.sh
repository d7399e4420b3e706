#!/usr/bin/env bash
# Does the whole job as a person would: opens a JPEG through the Open dialog by typing its path,
# checks that the input view shows the cut lines where the spine is cut, saves the inlay through
# the Save dialog by typing a name without extension, and checks the saved file: named with
# ".JPG", a JPEG of the inlay's size, 1510 : 1175. Then opens a second cover and saves it as the
# dialog proposes: its own NAME-inlay.jpg beside it, the first inlay left as it was. Under a
# window manager (openbox), as on a desktop.
# Usage (on a virtual screen): OpenAndSaveTest.sh PROGRAM
Program=$1
source "$(dirname "$0")/E2eSupport.sh"

# A back card, 1500 x 1000: the back layout, composed 1560 x 1000 and stretched to 1560 x 1213.
convert -size 1000x1500 gradient:navy-orange -rotate 90 -quality 92 "$Work/back card.jpg"

start_window_manager
start_program
Window=$(wait_for_window "Trayvane by Brenlow")

click_in_window "$Window" 40 40 # Open
answer_file_dialog "$Work/back card.jpg"

# The cut lines: a back card's spine is its rightmost 60 columns, 1440 to 1499. The picture is
# shown 414 x 276 from x = 393 in the 1200 pixel wide view, so the left line stands at 393 + 398
# and the right one at the picture's right edge (moved 2 pixels inside it, to show whole). Their
# bright cores are the only amber pixels of a row through the middle of the view.
eval "$(xdotool getwindowgeometry --shell "$Window")"
# The amber columns of that row, once the opened picture shows with its lines.
shows_cut_lines() {
  import -window root "$Work/opened.png"
  Amber=$(convert "$Work/opened.png" -crop "${WIDTH}x1+$X+$((Y + 97 + 138))" +repage txt:- |
    awk -F'[,:() ]+' '/^[0-9]/ && $3 > 220 && $4 > 170 && $4 < 235 && $5 < 110 { printf "%d ", $1 }')
  Seen="amber columns: ${Amber:-none}"
  read -r -a Columns <<<"$Amber"
  [[ ${#Columns[@]} -ge 2 ]]
}
wait_until "no cut lines in the input view" shows_cut_lines
echo "amber columns of the input view: $Amber"
(( Columns[0] >= 788 && Columns[0] <= 793 && Columns[-1] >= 802 && Columns[-1] <= 806 )) ||
  fail "the cut lines stand at $Amber, not around 791 and 805"
click_in_window "$Window" 150 40 # Save
answer_file_dialog "$Work/inlay"

Saved="$Work/inlay.JPG"
wait_for_file "$Saved"
read -r Width Height < <(identify -format '%w %h\n' "$Saved")
echo "saved $Saved: $Width x $Height"
[[ "$Width" == 1560 && "$Height" == 1213 ]] || fail "the inlay is ${Width}x${Height}, not 1560x1213"
[[ $((Width * 1175 / 1510)) == "$Height" ]] || fail "the inlay is not 1510 : 1175"
[[ ! -s "$Work/stderr" ]] || fail "the program wrote errors: $(cat "$Work/stderr")"

# Waits for the file dialog and presses Enter on the name it proposes.
accept_file_dialog() {
  local dialog
  dialog=$(wait_for_window_matching "$DialogTitlePattern") || exit 1
  focus_window "$dialog"
  xdotool key Return
  wait_for_window_gone_id "$dialog"
}

# Whether the input view shows the green and yellow second cover: the middle of the view, where
# the first cover was navy and orange.
shows_second_cover() {
  import -window root "$Work/second.png"
  local pixel
  pixel=$(convert "$Work/second.png" -crop "1x1+$((X + WIDTH / 2))+$((Y + 97 + 138))" +repage \
    -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
  Seen="the middle of the view: $pixel"
  read -r Red Green Blue <<<"$pixel"
  ((Green > 150 && Blue < 80 && Green > Red))
}

# The second cover: the dialog proposes "second cover-inlay.jpg" beside it, never the first
# cover's inlay, which Enter would replace.
convert -size 600x400 gradient:green-yellow -quality 92 "$Work/second cover.jpg"
FirstSum=$(md5sum <"$Saved")
click_in_window "$Window" 40 40 # Open
answer_file_dialog "$Work/second cover.jpg"
# Saved once it shows, as a person saves what they see.
wait_until "the second cover is not shown" shows_second_cover
click_in_window "$Window" 150 40 # Save
accept_file_dialog
Second="$Work/second cover-inlay.jpg"
wait_for_file "$Second"
read -r Width Height < <(identify -format '%w %h\n' "$Second")
[[ "$Width" == 624 && "$Height" == 485 ]] || fail "the second inlay is ${Width}x${Height}, not 624x485"
[[ "$(md5sum <"$Saved")" == "$FirstSum" ]] || fail "the first inlay was replaced"
[[ ! -s "$Work/stderr" ]] || fail "the program wrote errors: $(cat "$Work/stderr")"
echo "two covers, two inlays: $(basename "$Saved"), $(basename "$Second")"
