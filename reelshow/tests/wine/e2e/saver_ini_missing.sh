#!/usr/bin/env bash
# "/S" without the settings file: the message comes while the saver window
# already exists, hidden (so a second start ends at once); once it is
# dismissed the saver runs with the defaults, which find nothing to play.
source "$(dirname "$0")/lib.sh"

rm -f "$INI"
start_program 60000 /S
box=$(drv wait-window '#32770' Information 20000)
expect "message box" "$(field class <<<"$box")" "#32770"
expect "message text" "$(drv wait-tree '#32770' Information 2000 class=Static id=65535 | field text)" \
  "The ini file is missing. Please reinstall this software or copy the included ini file into your windows directory."
expect "saver window while the message is up" "$(drv wait-window "${SAVER[@]}" 0 | field visible)" 0
second=$(run_now 15000 /S)
expect "a second start meanwhile ends" "$(exit_of <<<"$second")" 0
expect "a second start shows nothing" "$(shown_of <<<"$second")" 0

drv press '#32770' Information id=1 || fail "no OK button"
drv wait-tree "${SAVER[@]}" 10000 depth=0 visible=1 >/dev/null
expect "saver shown after the message" "$(drv wait-window "${SAVER[@]}" 0 | field visible)" 1
expect "defaults: nothing to play" "$(saver_child class=Static visible=1 | field text)" \
  "These files no longer exists on your system!  Please go into your screensaver settings and remove this from your viewing list!"
shot "$E2E_WORK/defaults.png"
expect "on white" "$(pixel "$E2E_WORK/defaults.png" 900 700)" "#FFFFFF"

drv post "${SAVER[@]}" keydown 0x41 0
wait_program
expect "exit code" "$(exit_of <<<"$REPORT")" 0
finish
