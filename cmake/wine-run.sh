#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix that belongs to the build
# folder, on a private Xvfb display when there is no display. Used as the
# cross build's CMAKE_CROSSCOMPILING_EMULATOR.
set -euo pipefail
exe=$1
shift
build=${TARN_WINE_BUILD_DIR:-$(cd "$(dirname "$exe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)}
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      # wineboot's status says nothing useful (a fresh 64-bit prefix reports the
      # missing 32-bit rundll32); what counts is the prefix it leaves.
      wineboot -i >"$build/wineboot.log" 2>&1 || true
      wineserver -w || true
      # Without a window manager Wine stalls about 2 s whenever a window is hidden.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$build/wineboot.log" 2>&1 || true
      wineserver -w || true
      if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine-run.sh: could not create the Wine prefix $WINEPREFIX:" >&2
        cat "$build/wineboot.log" >&2
        exit 1
      fi
    fi
  ) 9>"$build/wineprefix.lock"
fi

if [ -z "${DISPLAY:-}" ]; then
  # One display per build folder, started on first use and left running for the next test.
  num=$((100 + $(printf '%s' "$build" | cksum | cut -d' ' -f1) % 800))
  export DISPLAY=:$num
  if ! [ -e /tmp/.X11-unix/X$num ]; then
    (
      flock 8
      if ! [ -e /tmp/.X11-unix/X$num ]; then
        setsid Xvfb ":$num" -screen 0 1280x1024x24 -nolisten tcp >"$build/xvfb.log" 2>&1 </dev/null &
        for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$num ] && break; sleep 0.1; done
        [ -e /tmp/.X11-unix/X$num ] || { echo "wine-run.sh: Xvfb :$num did not start:" >&2; cat "$build/xvfb.log" >&2; exit 1; }
      fi
    ) 8>"$build/xvfb.lock"
  fi
fi

exec wine "$exe" "$@"
