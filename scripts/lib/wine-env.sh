# Sourced by scripts/test and scripts/demo: a private X server and a fresh
# 32-bit Wine prefix for one run, and their removal.
#   wine_env_start   sets DISPLAY, WINEPREFIX, WINEARCH, WINEDEBUG,
#                    WINEDLLOVERRIDES, REELSHOW_WINE_READY and WINE_ENV_DIR
#   wine_env_stop    ends Wine and the X server, removes the prefix

wine_env_start() {
  WINE_ENV_DIR=$(mktemp -d /tmp/reelshow-wine.XXXXXX)
  local n
  for n in $(seq 91 150); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$WINE_ENV_DIR/xvfb.log" 2>&1 &
  WINE_ENV_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  if [ ! -e "/tmp/.X11-unix/X$n" ]; then
    echo "wine-env: Xvfb did not start" >&2
    cat "$WINE_ENV_DIR/xvfb.log" >&2
    return 1
  fi
  # The display must be known before the first Wine command: a wineserver
  # started without one makes every later window creation fail.
  export DISPLAY=":$n"
  export WINEPREFIX="$WINE_ENV_DIR/prefix" WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=d"
  wineboot -i >"$WINE_ENV_DIR/wineboot.log" 2>&1 && wineserver -w
  # No sound card here: keep the audio driver quiet.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d '' /f >/dev/null 2>&1
  wineserver -w
  if [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
    echo "wine-env: the Wine prefix was not created" >&2
    cat "$WINE_ENV_DIR/wineboot.log" >&2
    return 1
  fi
  export WINE_ENV_DIR REELSHOW_WINE_READY=1
  echo "wine-env: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
}

wine_env_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
    kill "$WINE_ENV_XVFB_PID" >/dev/null 2>&1 || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
  fi
  if [ -n "${WINE_ENV_DIR:-}" ] && [ -d "$WINE_ENV_DIR" ]; then rm -rf "$WINE_ENV_DIR"; fi
  unset REELSHOW_WINE_READY WINE_ENV_XVFB_PID WINE_ENV_DIR
}
