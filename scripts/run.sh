#!/usr/bin/env bash
# Builds Botenruf and starts it under Wine.
#   With a display (DISPLAY set): the program opens there; use it, end it with "Beenden".
#   Without one: it runs headless in a Wine virtual desktop on Xvfb, a screenshot is
#   written to shots/botenruf.png, and the program is ended again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"

# The shipped program is the 32-bit build; where this machine cannot run 32-bit programs
# under Wine, the 64-bit build of the same sources is started instead.
preset=win32
/usr/lib/wine/wine --version >/dev/null 2>&1 || preset=win64
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -- -j"${BOTENRUF_JOBS:-2}"
build=$root/build/$preset
bits=${preset#win}

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
source "$root/scripts/wine-env.sh" "$build" "$bits"
botenruf_ensure_prefix
botenruf_ensure_display

if [ "$headless" = 0 ]; then
  exec "$BOTENRUF_WINE_LOADER" "$build/Botenruf.exe" "$@"
fi

mkdir -p "$root/shots"
shot=$root/shots/botenruf.png
"$BOTENRUF_WINE_LOADER" explorer /desktop=Botenruf,1024x768 "$build/Botenruf.exe" "$@" \
  >/dev/null 2>&1 </dev/null &
program=$!
sleep "${BOTENRUF_SHOT_DELAY:-6}"
import -window root "$shot"
echo "Screenshot: $shot"
kill "$program" 2>/dev/null || true
botenruf_wineserver -k 2>/dev/null || true
[ -f "$botenruf_state/xvfb.pid" ] && kill "$(cat "$botenruf_state/xvfb.pid")" 2>/dev/null
rm -f "$botenruf_state/display" "$botenruf_state/xvfb.pid"
