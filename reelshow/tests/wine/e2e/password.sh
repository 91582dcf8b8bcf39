#!/usr/bin/env bash
# The password check: on the Windows 95/98 path (Wine told to report
# Windows 98 for reelshow.scr) with "ScreenSaveUsePassword" on, a wrong
# password keeps the saver running and a right one ends it; the prompt gets
# the saver window as owner and a visible pointer, and input during the
# prompt starts no second one. Values that are off or not numbers, or a
# missing PASSWORD.CPL, end the saver at once; so does the NT path.
source "$(dirname "$0")/lib.sh"

app_key='HKCU\Software\Wine\AppDefaults\reelshow.scr'
desktop='HKCU\Control Panel\desktop'
cpl="$SYSDIR/PASSWORD.CPL"
on_exit "reg_delete '$app_key'; reg_delete '$desktop' ScreenSaveUsePassword; rm -f '$cpl' '$cpl.log' '$cpl.answers'"
write_ini <<EOF
[VidConfig]
Name1=Null
EOF

# prompt ANSWERS...: the stand-in's answers, one line per call.
prompt() {
  cp "$REELSHOW_PASSWORD_STUB" "$cpl"
  printf '%s\n' "$@" >"$cpl.answers"
  rm -f "$cpl.log"
}
calls() { cat "$cpl.log" 2>/dev/null | wc -l; }

reg_set "$app_key" Version REG_SZ win98
reg_set "$desktop" ScreenSaveUsePassword REG_DWORD 1
# The first prompt is answered wrong after 800 ms, the second right.
prompt "0 800" 1
start_program 60000 /S
wait_saver
drv post "${SAVER[@]}" keydown 0x41 0
sleep 0.3
# Input while the prompt is up is ignored: no prompt inside the prompt.
drv post "${SAVER[@]}" keydown 0x42 0
drv post "${SAVER[@]}" lbuttondown 0 0
expect "saver after a wrong password" "$(saver_alive 1500)" yes
expect "prompts after the first key" "$(calls)" 1
expect "first prompt" "$(sed -n 1p "$cpl.log")" \
  "VerifyScreenSavePwd call=1 depth=1 owner=TForm1/Divezerar33 pointer=shown answer=0"
# A close request from outside goes through the same check.
drv post "${SAVER[@]}" close 0 0
wait_program
expect "exit code after the right password" "$(exit_of <<<"$REPORT")" 0
expect "second prompt" "$(sed -n 2p "$cpl.log")" \
  "VerifyScreenSavePwd call=2 depth=1 owner=TForm1/Divezerar33 pointer=shown answer=1"

# ends_with VALUE-TYPE VALUE-DATA PROMPTS-EXPECTED LABEL: one key press with
# the setting as given ("-" for none) and a stand-in that answers right.
ends_with() {
  if [ "$1" = - ]; then reg_delete "$desktop" ScreenSaveUsePassword; else reg_set "$desktop" ScreenSaveUsePassword "$1" "$2"; fi
  start_program 20000 /S
  wait_saver
  drv post "${SAVER[@]}" keydown 0x41 0
  wait_program >/dev/null
  expect "$4: exit code" "$(exit_of <<<"$REPORT")" 0
  expect "$4: prompts" "$(calls)" "$3"
}
prompt 1
ends_with REG_BINARY 01000000 1 "four-byte binary 1"
prompt 1
ends_with REG_DWORD 0 0 "number 0"
prompt 1
ends_with REG_SZ 1 0 "text 1"
prompt 1
ends_with - - 0 "no value"
rm -f "$cpl"
ends_with REG_DWORD 1 0 "no PASSWORD.CPL"

reg_delete "$app_key"
prompt 0
ends_with REG_DWORD 1 0 "NT path"
finish
