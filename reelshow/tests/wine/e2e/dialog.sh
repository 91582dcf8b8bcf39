#!/usr/bin/env bash
# "/C": the settings dialog with its controls where they belong, filled
# from the settings file; the web-link button answers Enter; the radio
# groups, the scroll bars and OK (by Enter) write the "Options" keys back
# and end the program.
source "$(dirname "$0")/lib.sh"

site=$(winpath "$E2E_WORK/no-such-page.htm")
write_ini <<EOF
[Options]
Repeat=0
Color=7
Picdis=3
Picord=1
Width=300
Height=2000
[Link]
Button=" Visit the site "
Site=$site
[VidConfig]
Name1=Z:\\videos\\one.avi
EOF

start_program 90000 /c:4711
drv wait-window TForm2 - 20000 >/dev/null || fail "no dialog"
sleep 0.5
drv tree TForm2 - >"$E2E_WORK/tree.txt"
top=$(head -1 "$E2E_WORK/tree.txt")
expect "client size" "$(fields cw ch <<<"$top")" "479,228"
w=$(field w <<<"$top")
h=$(field h <<<"$top")
expect "centred" "$(fields x y <<<"$top")" "$(((1024 - w) / 2)),$(((768 - h) / 2))"
expect "no title text" "$(field text <<<"$top")" ""
style=$(field style <<<"$top")
expect "title bar without buttons (caption, no system menu)" \
  "$(((style & 0x00C00000) == 0x00C00000)),$(((style & 0x00080000) != 0))" "1,0"

# text|class|x,y,w,h|visible|check (or -)   positions within the client area
while IFS='|' read -r text class box visible check; do
  line=$(with_text "$text" <"$E2E_WORK/tree.txt")
  [ -n "$line" ] || { expect "control '$text'" missing present; continue; }
  if [ "${box//[^,]/}" = ",,," ]; then
    got=$(fields class x y w h visible <<<"$line")
  else
    got=$(fields class x y visible <<<"$line")
  fi
  expect "control '$text'" "$got" "$class,$box,$visible"
  [ "$check" = - ] || expect "control '$text' checked" "$(field check <<<"$line")" "$check"
done <<'TABLE'
Video Displays|Button|6,7,253,213|1|-
Large (Full Screen)|Button|20,22,211,17|1|0
Medium|Button|20,39,113,17|1|0
Small|Button|20,55,203,17|1|1
Default Video Size (Clearest Image)|Button|20,79,197,17|1|0
Customize Video Window Below|Button|20,103,227,17|1|0
Customize Video Display|Button|16,127,231,81|1|-
Video Width|Static|26,143|1|-
300|Static|26,185|1|-
Video Height|Static|124,143|1|-
768|Static|122,185|1|-
Play Videos:|Button|265,7,208,65|1|-
Randomly|Button|278,28,113,17|1|1
In The Order Listed|Button|278,48,148,17|1|0
 Visit the site |Button|310,164,166,24|1|-
OK|Button|311,196,166,24|1|-
Wav or Midi Sound?|Button|0,0|0|-
Sound ON|Button|0,0|0|1
Sound OFF|Button|0,0|0|0
Repeat On|Button|0,0|0|0
Repeat Off|Button|0,0|0|1
Black - Gray - Silver - White|Button|0,0|0|0
Black Background Only|Button|0,0|0|1
TABLE
bars=$(grep 'class=ScrollBar' "$E2E_WORK/tree.txt")
expect "width scroll bar" "$(head -1 <<<"$bars" | fields x y w h pos min max page)" "26,162,74,13,300,25,1024,0"
expect "height scroll bar" "$(tail -1 <<<"$bars" | fields x y w h pos min max page)" "124,162,74,13,768,25,768,0"
ok_style=$(with_text OK <"$E2E_WORK/tree.txt" | field style)
expect "OK is the default button" "$((ok_style & 0xF))" 1
web_style=$(with_text " Visit the site " <"$E2E_WORK/tree.txt" | field style)
expect "web-link button drawn by its owner" "$((web_style & 0xF))" 11

shot "$E2E_WORK/dialog.png"
cp "$E2E_WORK/dialog.png" "$E2E_ARTIFACTS/settings-dialog.png"
cx=$(field cx <<<"$top")
cy=$(field cy <<<"$top")
expect "dialog colour" "$(pixel "$E2E_WORK/dialog.png" $((cx + 300)) $((cy + 120)))" "#B8BBC7"
expect "globe picture on the web-link button" \
  "$(convert-im6.q16 "$E2E_WORK/dialog.png" -crop "166x24+$((cx + 310))+$((cy + 164))" +repage -unique-colors txt:- | grep -c -E '#0000FF|#00FFFF' | awk '{ print ($1 == 2) }')" 1

# Enter on the web-link button presses it: the address cannot be opened.
drv focus TForm2 - "text= Visit the site " || fail "cannot focus the web-link button"
drv post TForm2 - keydown 0x0D 0 "text= Visit the site "
box=$(drv wait-tree '#32770' Error 10000 class=Static id=65535)
expect "no web viewer message" "$(field text <<<"$box")" \
  "Your system does not have a default webpage viewer (for viewing the webpage). You can view this by opening your browser and typing $site in the location box."
drv press '#32770' Error id=1
drv wait-gone '#32770' Error 5000 >/dev/null
expect "dialog still open" "$(drv wait-window TForm2 - 0 | field visible)" 1

drv press TForm2 - text=Medium
drv press TForm2 - "text=In The Order Listed"
drv scroll TForm2 - lineright 3 class=ScrollBar id=108
drv scroll TForm2 - pageleft 1 class=ScrollBar id=108
drv scroll TForm2 - lineright 1 class=ScrollBar id=111
sleep 0.5
drv tree TForm2 - >"$E2E_WORK/tree.txt"
checks=""
for t in "Large (Full Screen)" Medium Small Randomly "In The Order Listed"; do checks+="$(with_text "$t" <"$E2E_WORK/tree.txt" | field check)"; done
expect "choices after the clicks (one per group)" "$checks" "01001"
expect "width label after three steps right and one page left" "$(grep -c -P '\ttext=302$' "$E2E_WORK/tree.txt")" 1
expect "width scroll bar" "$(grep 'id=108' "$E2E_WORK/tree.txt" | field pos)" 302
expect "height stays at its maximum" "$(grep 'id=111' "$E2E_WORK/tree.txt" | field pos)" 768

# Enter anywhere else presses OK.
drv post TForm2 - keydown 0x0D 0 text=Medium
wait_program
expect "exit code" "$(exit_of <<<"$REPORT")" 0
for kv in Sound=1 Repeat=0 Color=4 Picdis=2 Picord=2 Height=768 Width=302 Status=0; do
  expect "Options $kv" "${kv%%=*}=$(ini Options "${kv%%=*}")" "$kv"
done
expect "Link and video list untouched" "$(ini Link Button)|$(ini Link Site)|$(ini VidConfig Name1)" \
  " Visit the site |$site|Z:\\videos\\one.avi"
finish
