#!/usr/bin/env bash
# "/S" in own-size mode, listed order, black background: an MPEG-1 file
# opens, plays to its end and is followed by the next video; the panel takes
# each video's own size, centred on the screen, and the picture shows in it.
source "$(dirname "$0")/lib.sh"

make_video clip.mpg testsrc 176x144 2 mpeg1video
make_video picture.avi testsrc 320x240 2 msvideo1
make_video wide.avi color=c=blue 352x288 1 cinepak
write_ini <<EOF
[Options]
Color=4
Picdis=5
Picord=2
[VidConfig]
Name1=$(media clip.mpg)
Name2=$(media picture.avi)
Name3=$(media wide.avi)
EOF

start_program 60000 /S
wait_saver
# panel_at X Y W H: waits until Panel1 stands there; prints how long it took.
panel_at() {
  drv wait-tree "${SAVER[@]}" 8000 class=TPanel visible=1 "x=$1" "y=$2" "w=$3" "h=$4" | field waited_ms
}
mpeg_open=$(panel_at 424 312 176 144)
expect "MPEG file opened at its own size (176x144 at 424,312)" "${mpeg_open:+yes}" yes
after_mpeg=$(panel_at 352 264 320 240)
expect "next video after the MPEG file (320x240 at 352,264)" "${after_mpeg:+yes}" yes
# A two-second clip that failed would give way within a tick or two.
expect "MPEG file played for at least a second" "$(awk -v t="${after_mpeg:-0}" 'BEGIN { print (t >= 1000) }')" 1

# The first frame reaches the panel a moment after the panel has moved, and
# later on a loaded machine: look a few times while the two-second clip plays.
picture_shown=0
for try in 1 2 3 4 5 6 7 8; do
  shot "$E2E_WORK/own-size.png"
  picture_shown=$(colours "$E2E_WORK/own-size.png" 300x220+362+274 | awk '{ print ($1 > 20) }')
  [ "$picture_shown" = 1 ] && break
  sleep 0.15
done
cp "$E2E_WORK/own-size.png" "$E2E_ARTIFACTS/saver-own-size.png"
expect "picture inside the panel" "$picture_shown" 1
expect "background stays black" "$(pixel "$E2E_WORK/own-size.png" 5 5)$(pixel "$E2E_WORK/own-size.png" 340 250)" "#000000#000000"

expect "third video (352x288 at 336,240)" "$(panel_at 336 240 352 288 | sed 's/.\+/yes/')" yes
expect "list starts again with the MPEG file" "$(panel_at 424 312 176 144 | sed 's/.\+/yes/')" yes
expect "background still black" "$(shot "$E2E_WORK/later.png"; pixel "$E2E_WORK/later.png" 5 5)" "#000000"

drv post "${SAVER[@]}" keydown 0x20 0
wait_program
expect "exit code" "$(exit_of <<<"$REPORT")" 0
finish
