#!/usr/bin/env bash
# "/S" with nothing to play: the information text on white, no colour
# cycling. Mouse moves, button releases, the wheel and the system commands
# that would close the window or start another saver leave it running; each
# of the seven ending messages, and a close request from outside, ends it.
source "$(dirname "$0")/lib.sh"

write_ini <<EOF
[Options]
Color=1
Picdis=2
[VidConfig]
Name1=Null
Name2=$(media nothing-here.avi)
Name3=
Name200=Null
EOF
info="These files no longer exists on your system!  Please go into your screensaver settings and remove this from your viewing list!"

start_program 60000 /S
wait_saver
label=$(saver_child class=Static visible=1)
expect "lblinfo bounds" "$(for k in x y w h; do field $k <<<"$label"; done | paste -sd,)" "68,87,469,106"
expect "lblinfo text" "$(field text <<<"$label")" "$info"
expect "Panel1 hidden" "$(saver_child class=TPanel | field visible)" 0
shot "$E2E_WORK/info.png"
cp "$E2E_WORK/info.png" "$E2E_ARTIFACTS/saver-nothing-to-play.png"
expect "background white" "$(pixel "$E2E_WORK/info.png" 5 5)$(pixel "$E2E_WORK/info.png" 1000 700)" "#FFFFFF#FFFFFF"
expect "text drawn in black on white" \
  "$(convert-im6.q16 "$E2E_WORK/info.png" -crop 469x106+68+87 +repage -format '%[fx:minima.r < 0.2 && maxima.r > 0.9]' info:)" 1
sleep 1
shot "$E2E_WORK/later.png"
expect "still white a second later (no cycling)" "$(pixel "$E2E_WORK/later.png" 5 5)" "#FFFFFF"

drv mouse 10 10 >/dev/null
drv mouse 900 600 >/dev/null
for m in mousemove lbuttonup rbuttonup mbuttonup mousewheel; do drv post "${SAVER[@]}" $m 0 0x00200020; done
for command in 0xF060 0xF140 0xF130; do  # close, start the screensaver, task list
  drv post "${SAVER[@]}" syscommand $command 0
done
expect "saver after moves, releases, wheel and system commands" "$(saver_alive 1000)" yes

drv mouse 512 384 left >/dev/null
wait_program
expect "exit code after a click" "$(exit_of <<<"$REPORT")" 0

# Every ending message on its own ends a fresh saver.
for m in keydown keyup syskeydown syskeyup lbuttondown rbuttondown mbuttondown close; do
  start_program 20000 /S
  wait_saver
  drv post "${SAVER[@]}" $m 0x12 0
  wait_program >/dev/null
  expect "exit code after $m" "$(exit_of <<<"$REPORT")" 0
done
finish
