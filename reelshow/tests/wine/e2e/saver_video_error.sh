#!/usr/bin/env bash
# A listed video deleted after the saver started: when its turn comes, the
# timer stops and the error message shows above the saver; a key pressed on
# that message (its own modal loop) ends the saver.
source "$(dirname "$0")/lib.sh"

make_video first.avi color=c=red 320x240 1 msvideo1
cp "$MEDIA/first.avi" "$MEDIA/doomed.avi"
write_ini <<EOF
[Options]
Color=1
Picdis=1
[VidConfig]
Name1=$(media first.avi)
Name2=$(media doomed.avi)
EOF

start_program 60000 /S
wait_saver
rm -f "$MEDIA/doomed.avi"
box=$(drv wait-window '#32770' Error 15000)
expect "error message above the saver" "$(fields visible topmost <<<"$box")" "1,1"
expect "error message text" "$(drv wait-tree '#32770' Error 2000 class=Static id=65535 | field text)" \
  "An error occurred trying to play the video file. The video file appears to be corrupt. Please verify that your video files are viewable."
shot "$E2E_WORK/error.png"
cp "$E2E_WORK/error.png" "$E2E_ARTIFACTS/saver-video-error.png"
sleep 1
shot "$E2E_WORK/later.png"
# The timer is off: the background keeps its colour.
expect "background unchanged under the message" "$(pixel "$E2E_WORK/later.png" 5 5)" "$(pixel "$E2E_WORK/error.png" 5 5)"
expect "saver still running under the message" "$(saver_alive 0)" yes

drv post '#32770' Error keydown 0x41 0 class=Button id=1
wait_program
expect "exit code after a key on the message" "$(exit_of <<<"$REPORT")" 0
finish
