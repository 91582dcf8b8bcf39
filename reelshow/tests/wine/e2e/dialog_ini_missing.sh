#!/usr/bin/env bash
# "/C" without the settings file: the "E45" message, then the controls in
# their design state. OK stops at the first size label that still holds its
# design text, with the conversion message, the keys before it written; once
# both scroll bars have moved, OK saves in full and ends the program.
source "$(dirname "$0")/lib.sh"

rm -f "$INI"
start_program 90000 /C
expect "E45 message" "$(drv wait-tree '#32770' Error 20000 class=Static id=65535 | field text)" \
  "E45 - An error has occured, the ini file is missing. Please reinstall the screensaver."
drv press '#32770' Error id=1 || fail "no OK button on the message"
drv wait-tree TForm2 - 10000 depth=0 visible=1 >/dev/null || fail "no dialog after the message"
drv tree TForm2 - >"$E2E_WORK/tree.txt"
expect "no choice selected in any group" "$(grep -c 'check=1' "$E2E_WORK/tree.txt")" 0
expect "size labels show their design texts" \
  "$(grep -c -P '\ttext=Lblwidth$' "$E2E_WORK/tree.txt")$(grep -c -P '\ttext=Lblheight$' "$E2E_WORK/tree.txt")" 11
expect "scroll bars at 25" "$(grep class=ScrollBar "$E2E_WORK/tree.txt" | field pos | paste -sd,)" "25,25"

# ok_stops_at LABEL: OK shows the conversion message for LABEL's text and
# the dialog stays.
ok_stops_at() {
  drv press TForm2 - id=1
  expect "OK with '$1' shown" "$(drv wait-tree '#32770' Error 10000 class=Static id=65535 | field text)" \
    "'$1' is not a valid integer value"
  drv press '#32770' Error id=1
  drv wait-gone '#32770' Error 5000 >/dev/null
  expect "dialog still open" "$(drv wait-window TForm2 - 0 | field visible)" 1
}
ok_stops_at Lblheight
expect "keys written before Height" \
  "$(for k in Sound Repeat Color Picdis Picord Height Width Status; do printf '%s ' "$(ini Options $k)"; done)" \
  "0 0 4 1 2 <missing> <missing> <missing> "

drv scroll TForm2 - lineright 1 class=ScrollBar id=111
ok_stops_at Lblwidth
expect "Height written, Width not" "$(ini Options Height),$(ini Options Width)" "26,<missing>"

drv scroll TForm2 - lineright 1 class=ScrollBar id=108
drv press TForm2 - id=1
wait_program
expect "exit code" "$(exit_of <<<"$REPORT")" 0
expect "saved in full" "$(for k in Sound Repeat Color Picdis Picord Height Width Status; do printf '%s ' "$(ini Options $k)"; done)" \
  "0 0 4 1 2 26 26 0 "
finish
