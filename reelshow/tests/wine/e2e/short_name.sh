#!/usr/bin/env bash
# A saver started by its 8.3 short name, as Windows records savers, still
# finds the settings file named after its long name, cut before the first
# full stop: "Holiday.Clips Reel.scr" reads Holiday.ini.
source "$(dirname "$0")/lib.sh"

long="$E2E_WORK/Holiday.Clips Reel.scr"
cp "$REELSHOW_SCR" "$long"
settings="$WINDIR/Holiday.ini"
on_exit "rm -f '$settings'"
printf '[VidConfig]\r\nName1=Null\r\n' >"$settings"
short=$(drv short-path "$(winpath "$long")" | field path)
[ -n "$short" ] || fail "no short name for $long"
expect "the short name differs from the long one" "$([ "$short" != "$(winpath "$long")" ] && echo yes)" yes

wine "$REELSHOW_DRIVER" run 30000 "$short" /S >"$RUN_OUT" 2>/dev/null &
PROGRAM_RUN=$!
wait_saver
# A settings file looked up under the short name would be missing: a
# message box instead of the saver's information text.
expect "no message box" "$(drv wait-window '#32770' - 0 | field class)" ""
expect "settings found: nothing to play" "$(saver_child class=Static visible=1 | field text)" \
  "These files no longer exists on your system!  Please go into your screensaver settings and remove this from your viewing list!"
drv post "${SAVER[@]}" keydown 0x41 0
wait_program
expect "exit code" "$(exit_of <<<"$REPORT")" 0
finish
