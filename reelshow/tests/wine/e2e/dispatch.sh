#!/usr/bin/env bash
# The command line: switches that end at once without showing anything, and
# a running saver that makes every later start end at once, "/A" included.
source "$(dirname "$0")/lib.sh"

write_ini <<EOF
[VidConfig]
Name1=Null
EOF

# ends_at_once LABEL ARG...: exit code 0, nothing shown.
ends_at_once() {
  local label=$1
  shift
  local report
  report=$(run_now 15000 "$@")
  expect "$label: exit code" "$(exit_of <<<"$report")" 0
  expect "$label: windows shown" "$(shown_of <<<"$report")" 0
}

ends_at_once "no argument"
for args in "/P 1234" "/p" "/x" "/" "/S1" "/SS" "/Q:/S"; do
  # shellcheck disable=SC2086
  ends_at_once "$args" $args
done

# Lower case runs the saver too; while it is on the screen, nothing else starts.
use_mpr_stub
rm -f "$mpr_log"
start_program 60000 /s
wait_saver
for args in "/S" "/s" "/C" "/c:1234" "/A" "/a 1234" "/P 99"; do
  # shellcheck disable=SC2086
  ends_at_once "$args while a saver runs" $args
done
expect "password change not called while a saver runs" "$(cat "$mpr_log" 2>/dev/null)" ""
drv post "${SAVER[@]}" keydown 0x41 0
wait_program
expect "saver exit code" "$(exit_of <<<"$REPORT")" 0
finish
