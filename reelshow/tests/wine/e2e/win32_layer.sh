#!/usr/bin/env bash
# The Win32 layer's own checks (win32_layer_probe.exe) over real files.
source "$(dirname "$0")/lib.sh"

make_video picture.avi testsrc 320x240 1 msvideo1
make_video top-down.avi testsrc 320x240 1 rawvideo
wine "$REELSHOW_LAYER_PROBE" "$(media picture.avi)" "$(media top-down.avi)" "$(winpath "$REELSHOW_PASSWORD_STUB")" 2>/dev/null | tr -d '\r'
