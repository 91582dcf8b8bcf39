# Sourced by the end-to-end tests of reelshow.scr under Wine. CMake sets:
#   REELSHOW_SCR, REELSHOW_DRIVER, REELSHOW_PASSWORD_STUB, REELSHOW_MPR_STUB
#   E2E_WORK       this test's own directory in the build tree
#   E2E_ARTIFACTS  where screenshots worth keeping go
# The Wine environment (Xvfb, prefix) comes from scripts/lib/wine-env.sh;
# without it the test is skipped (exit 77).
set -uo pipefail

if [ -z "${REELSHOW_WINE_READY:-}" ] || [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "skipped: no Wine environment set up (scripts/test sets one up)"
  exit 77
fi

WINDIR="$WINEPREFIX/drive_c/windows"
SYSDIR="$WINDIR/system32"
INI="$WINDIR/reelshow.ini"
INI_WIN='C:\windows\reelshow.ini'
SAVER=(TForm1 Divezerar33)
RUN_OUT="$E2E_WORK/run.out"
mkdir -p "$E2E_WORK" "$E2E_ARTIFACTS"
rm -f "$E2E_WORK"/*.png "$RUN_OUT"

_cleanups=()
_failures=0

# on_exit CMD...: run CMD when the test ends, whatever happened (last first).
on_exit() { _cleanups+=("$*"); }

_run_cleanups() {
  local i
  for ((i = ${#_cleanups[@]} - 1; i >= 0; i--)); do eval "${_cleanups[$i]}" >/dev/null 2>&1; done
  # A saver or dialog left over by a failed check must not hold up the next test.
  drv kill TForm1 Divezerar33 >/dev/null 2>&1
  drv kill TForm2 - >/dev/null 2>&1
  rm -f "$INI"
}
trap _run_cleanups EXIT

# fail MESSAGE: the test has failed; stop here.
fail() {
  echo "FAIL: $*"
  exit 1
}

# expect WHAT ACTUAL EXPECTED: one check; a difference is reported and counted.
expect() {
  if [ "$2" == "$3" ]; then
    echo "ok: $1 = $3"
  else
    echo "FAIL: $1: got '$2', expected '$3'"
    _failures=$((_failures + 1))
  fi
}

# finish: the test's verdict.
finish() {
  if [ "$_failures" -ne 0 ]; then
    echo "$_failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}

# winpath UNIX-PATH: the same file as a Windows path (drive Z: is /).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

drv() { wine "$REELSHOW_DRIVER" "$@" 2>/dev/null | tr -d '\r'; }

# field KEY < LINES: the value of one key=value field of each driver line.
field() { awk -F'\t' -v k="$1" '{ for (i = 1; i <= NF; i++) if (index($i, k "=") == 1) { print substr($i, length(k) + 2); next } }'; }

# child TOKEN...: the line of the first window of the saver's tree with all
# the key=value tokens (waiting up to 5 s for it).
saver_child() { drv wait-tree "${SAVER[@]}" 5000 "$@"; }

write_ini() { cat >"$INI"; }


# ini SECTION KEY: a value of the settings file as the system reads it, or
# "<missing>".
ini() {
  local answer
  answer=$(drv ini "$INI_WIN" "$1" "$2")
  if [ "$answer" = missing ]; then echo "<missing>"; else echo "${answer#value=}"; fi
}

# with_text TEXT < TREE: the tree line of the window whose text is TEXT.
with_text() { awk -F'\t' -v t="text=$1" '$NF == t { print; exit }'; }

# fields KEY... < LINE: the values of those fields, comma-separated.
fields() {
  local line k out=""
  line=$(cat)
  for k in "$@"; do out+="$(field "$k" <<<"$line"),"; done
  echo "${out%,}"
}

# reg_set KEY VALUE TYPE DATA / reg_delete KEY [VALUE]: the test prefix's registry.
reg_set() { wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1 || fail "cannot set $1\\$2"; }
reg_delete() {
  if [ $# -eq 2 ]; then wine reg delete "$1" /v "$2" /f >/dev/null 2>&1; else wine reg delete "$1" /f >/dev/null 2>&1; fi
  return 0
}

# use_mpr_stub: the stand-in MPR.DLL in place of the system's until the test
# ends; the stand-in logs its calls to $mpr_log, beside itself under the name
# it was loaded by.
mpr_log="$SYSDIR/MPR.DLL.log"
use_mpr_stub() {
  local mpr="$SYSDIR/mpr.dll"
  local overrides='HKCU\Software\Wine\AppDefaults\reelshow.scr\DllOverrides'
  cp "$mpr" "$E2E_WORK/mpr.dll.wine"
  on_exit "cp '$E2E_WORK/mpr.dll.wine' '$mpr'; rm -f '$mpr_log'; reg_delete '$overrides'"
  cp "$REELSHOW_MPR_STUB" "$mpr"
  # Wine prefers its own MPR.DLL to a file in the system directory.
  reg_set "$overrides" mpr REG_SZ native
}

# make_video NAME SOURCE SIZE SECONDS CODEC: a test video made with ffmpeg
# in the build tree from a lavfi source ("testsrc", "color=c=red");
# media NAME prints its Windows path. msvideo1 and cinepak AVIs show their
# picture under Wine, MPEG-1 plays without one.
MEDIA="$E2E_WORK/media"
make_video() {
  local name=$1 source=$2 size=$3 seconds=$4 codec=$5
  mkdir -p "$MEDIA"
  local args=(-c:v "$codec") rate=15
  case "$codec" in
    msvideo1) args+=(-pix_fmt rgb555le) ;;
    rawvideo) args+=(-pix_fmt bgr24) ;;
    mpeg1video) args+=(-f mpeg) rate=25 ;;
  esac
  local sep="="
  [[ "$source" == *=* ]] && sep=":"
  [ -s "$MEDIA/$name" ] && return 0
  ffmpeg -v error -y -f lavfi -i "$source${sep}size=$size:rate=$rate" -t "$seconds" "${args[@]}" "$MEDIA/$name" \
    || fail "ffmpeg could not make $name"
}
media() { winpath "$MEDIA/$1"; }

# start_program TIMEOUT-MS ARG...: reelshow.scr started by the driver in the
# background; wait_program waits for it and leaves the driver's report in
# REPORT (exit code, time taken, the windows it showed).
start_program() {
  local timeout=$1
  shift
  rm -f "$RUN_OUT"
  wine "$REELSHOW_DRIVER" run "$timeout" "$(winpath "$REELSHOW_SCR")" "$@" >"$RUN_OUT" 2>/dev/null &
  PROGRAM_RUN=$!
}

wait_program() {
  wait "$PROGRAM_RUN"
  REPORT=$(tr -d '\r' <"$RUN_OUT")
  echo "$REPORT"
}

# run_program TIMEOUT-MS ARG...: started and waited for.
run_program() {
  start_program "$@"
  wait_program
}

# run_now TIMEOUT-MS ARG...: another start of reelshow.scr, waited for at
# once; prints the driver's report.
run_now() {
  local timeout=$1
  shift
  drv run "$timeout" "$(winpath "$REELSHOW_SCR")" "$@"
}

# The exit report's first line: exit code, time and the windows shown.
exit_of() { head -1 | field exit; }
shown_of() { head -1 | field shown; }

wait_saver() { drv wait-window "${SAVER[@]}" 20000 >/dev/null || fail "no saver window appeared"; }

# saver_alive MS: still there after MS milliseconds.
saver_alive() {
  sleep "$(awk -v ms="$1" 'BEGIN { printf "%.2f", ms / 1000 }')"
  drv wait-window "${SAVER[@]}" 0 >/dev/null && echo yes || echo no
}

# shot FILE: the whole screen as PNG. xwd looks at every window while it
# works, and a window that goes at that moment spoils one try.
shot() {
  local try
  for try in 1 2 3 4 5; do
    xwd -root -silent 2>/dev/null | convert-im6.q16 xwd:- "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "no screenshot"
}

# pixel FILE X Y: the colour there as #RRGGBB.
pixel() {
  convert-im6.q16 "$1" -crop "1x1+$2+$3" -depth 8 txt:- | awk 'NR == 2 { print $3 }' | cut -c1-7
}

# colours FILE [WxH+X+Y]: how many colours the picture (or a part) holds.
colours() {
  if [ $# -eq 2 ]; then convert-im6.q16 "$1" -crop "$2" +repage -format %k info:; else convert-im6.q16 "$1" -format %k info:; fi
}

# hue #RRGGBB: red, blue or other, with room for the codecs' colour loss.
hue() {
  local c=${1#\#}
  local r=$((16#${c:0:2})) g=$((16#${c:2:2})) b=$((16#${c:4:2}))
  if [ $r -gt 180 ] && [ $g -lt 80 ] && [ $b -lt 80 ]; then echo red
  elif [ $b -gt 180 ] && [ $r -lt 80 ] && [ $g -lt 80 ]; then echo blue
  else echo other; fi
}

# Xvfb has no window manager: let Wine draw title bars and frames itself, as
# Windows would, so that screenshots show what a user sees.
decorated_key='HKCU\Software\Wine\X11 Driver'
reg_set "$decorated_key" Decorated REG_SZ N
on_exit "reg_delete '$decorated_key' Decorated"
