#!/usr/bin/env bash
# "/S" with two short videos among a missing file and empty slots, listed
# order, medium size, the second colour set: the saver covers the screen,
# the panel stands where the layout puts it, the videos play in turn over
# the cycling background, a mouse move does not end the saver and a key
# press does. A screenshot of the running saver is kept.
source "$(dirname "$0")/lib.sh"

make_video red.avi color=c=red 320x240 4 msvideo1
make_video blue.avi color=c=blue 352x288 2 cinepak
write_ini <<EOF
[Options]
Color=2
Picdis=2
Picord=2
[VidConfig]
Name2=Null
Name3=$(media red.avi)
Name4=$(media missing.avi)
Name5=$(media blue.avi)
Name6=null
EOF

expect "screensaver running before" "$(drv spi-running 0 | field running)" 0
start_program 60000 /S
wait_saver
# The first video plays for four seconds: look at once (its first picture
# may take a moment).
sequence=""
for i in $(seq 1 10); do
  shot "$E2E_WORK/cycle.png"
  first=$(hue "$(pixel "$E2E_WORK/cycle.png" 512 384)")
  if [ "$first" != other ]; then
    sequence=" $first"
    break
  fi
done
top=$(drv tree "${SAVER[@]}" | head -1)
for f in x=0 y=0 w=1024 h=768 cw=1024 ch=768 visible=1 topmost=1; do
  expect "saver window ${f%%=*}" "$(field "${f%%=*}" <<<"$top")" "${f#*=}"
done
# Borderless: a popup without caption or frame, clipping its children.
expect "saver window style" "$(field style <<<"$top")" 0x96000000
expect "screensaver running" "$(drv spi-running | field running)" 1
panel=$(saver_child class=TPanel visible=1)
expect "Panel1 bounds" "$(for k in x y w h; do field $k <<<"$panel"; done | paste -sd,)" "256,192,512,384"

# The panel's centre through a few cycles: red (the first listed video),
# then blue, then red again; the background meanwhile shows only the second
# set's colours, more than one of them.
backgrounds=""
for i in $(seq 1 60); do
  shot "$E2E_WORK/cycle.png"
  h=$(hue "$(pixel "$E2E_WORK/cycle.png" 512 384)")
  backgrounds+="$(pixel "$E2E_WORK/cycle.png" 5 5) "
  if [ "$h" != other ] && [ "${sequence##* }" != "$h" ]; then sequence+=" $h"; fi
  if [ "$h" = blue ] && [ ! -e "$E2E_WORK/saver-running.png" ]; then
    cp "$E2E_WORK/cycle.png" "$E2E_WORK/saver-running.png"
  fi
  [ "$sequence" = " red blue red" ] && break
  sleep 0.1
done
expect "videos in listed order" "$sequence" " red blue red"
seen=$(tr ' ' '\n' <<<"$backgrounds" | grep -E '^#' | sort -u)
expect "background colours outside the second set" \
  "$(grep -v -x -E '#(000080|000000|800080|800000)' <<<"$seen" | paste -sd,)" ""
expect "more than one background colour seen" "$(wc -l <<<"$seen" | awk '{ print ($1 >= 2) }')" 1

# The kept screenshot: the picture inside the panel, the background around it.
if [ -e "$E2E_WORK/saver-running.png" ]; then
  cp "$E2E_WORK/saver-running.png" "$E2E_ARTIFACTS/saver-running.png"
  expect "screenshot: the panel shows the video" "$(hue "$(pixel "$E2E_WORK/saver-running.png" 300 220)")" blue
  expect "screenshot: background just outside the panel" \
    "$(pixel "$E2E_WORK/saver-running.png" 250 186 | grep -c -x -E '#(000080|000000|800080|800000)')" 1
else
  expect "screenshot of the second video taken" no yes
fi

# Moving the mouse, releasing buttons and the wheel do not end the saver.
drv mouse 100 100 >/dev/null
drv mouse 700 500 >/dev/null
for m in mousemove lbuttonup rbuttonup mbuttonup mousewheel; do drv post "${SAVER[@]}" $m 0 0x00400040; done
expect "saver after mouse moves, releases and wheel" "$(saver_alive 800)" yes

# A real key press ends it, and with it the screensaver-running mark.
drv key "${SAVER[@]}" 0x41 >/dev/null
wait_program
expect "exit code" "$(exit_of <<<"$REPORT")" 0
# The hidden application window never shows: no taskbar entry.
expect "windows shown" "$(grep -P '^shown:' <<<"$REPORT" | cut -f2,3 | paste -sd' ')" $'class=TForm1\ttitle=Divezerar33'
expect "screensaver running after" "$(drv spi-running | field running)" 0
finish
