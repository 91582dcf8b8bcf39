#!/usr/bin/env bash
# "/A": the system's password change from MPR.DLL of the system directory,
# called with "SCRSAVE" and no owner window, whatever follows the switch;
# no window of the program shows.
source "$(dirname "$0")/lib.sh"

use_mpr_stub

for args in "/A" "/a 1234" "/a:1"; do
  rm -f "$mpr_log"
  # shellcheck disable=SC2086
  report=$(run_now 15000 $args)
  expect "$args: exit code" "$(exit_of <<<"$report")" 0
  expect "$args: windows shown" "$(shown_of <<<"$report")" 0
  expect "$args: call" "$(cat "$mpr_log" 2>/dev/null)" "PwdChangePasswordA provider=SCRSAVE owner=0 reserved=0,0"
done
finish
