#!/usr/bin/env bash
# Takes the README's pictures of the real Tarn.exe under Wine, on an Xvfb of
# its own: the General page and the Insert Module page with sample files of
# ours filled in, and the About box. Builds nothing:
#
#   tools/screenshots.sh BUILD/Tarn.exe [OUTPUT_FOLDER]   (default docs/screenshots)
#
# The pictures are taken while tarn-gui-pilot.exe, from the same build, holds
# each view still. Needs wine, Xvfb and ImageMagick's import.
set -euo pipefail

if [ $# -lt 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 BUILD/Tarn.exe [OUTPUT_FOLDER]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath "$1")
out=$(realpath -m "${2:-$here/docs/screenshots}")
build=$(cd "$(dirname "$exe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)
pilot=${TARN_GUI_PILOT:-$(find "$build" -name tarn-gui-pilot.exe -print -quit)}
if [ -z "$pilot" ]; then
  echo "$0: no tarn-gui-pilot.exe in $build; build the target tarn-gui-pilot" >&2
  exit 1
fi
windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

work=$(mktemp -d)
xvfb=
pilot_pid=
cleanup() {
  # The prefix is this script's own: ending its server ends the pilot and
  # Tarn.exe with it.
  if [ -n "$pilot_pid" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A prefix of its own, so that the tests' prefix stays as it is. Debian's
# Wine does not find the fonts it ships (Tahoma for dialogs, MS Sans Serif,
# Marlett for the caption buttons) and falls back to a Linux font; in the
# prefix's Fonts folder it finds them.
export WINEPREFIX=$build/wineprefix-screenshots
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$here/cmake/wine-run.sh" "$pilot" >/dev/null 2>&1 || true
  fonts=${TARN_WINE_FONTS:-/usr/share/wine/fonts}
  cp -n "$fonts"/*.ttf "$fonts"/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
wineserver -w 2>/dev/null || true

display=
for n in $(seq 900 999); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "$0: no free X display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 </dev/null &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=:$display

"$here/cmake/wine-run.sh" "$pilot" "$(windows_path "$exe")" "$(windows_path "$work")" >"$work/pilot.log" 2>&1 &
pilot_pid=$!

mkdir -p "$out"
for view in general module about; do
  for _ in $(seq 600); do
    [ -s "$work/$view.rect" ] && break
    kill -0 "$pilot_pid" 2>/dev/null || { cat "$work/pilot.log" >&2; exit 1; }
    sleep 0.1
  done
  [ -s "$work/$view.rect" ] || { echo "$0: Tarn.exe never showed the $view view" >&2; exit 1; }
  read -r left top width height <"$work/$view.rect"
  # No time stamps in the files: the same build gives the same pictures.
  import -display ":$display" -window root -crop "${width}x${height}+${left}+${top}" +repage -strip \
    -define png:exclude-chunks=date,time "$out/$view.png"
  touch "$work/$view.done"
  echo "$out/$view.png (${width}x${height})"
done

wait "$pilot_pid"
pilot_pid=
