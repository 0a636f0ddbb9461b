#!/usr/bin/env bash
# Builds Botenruf and starts it under Wine against a demo network of the simulated console
# tools, with a sample list file (scripts/demo/).
#   With a display (DISPLAY set): the program opens there and the simulated stations show
#   the messages they receive as boxes; end it with "Beenden".
#   Without one: it runs on Xvfb in Wine's virtual desktop, sends one message to the sample
#   distribution list "Alle" by itself, prints what the simulated stations received, writes
#   a screenshot to shots/botenruf.png and ends the program again.
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
wine_run() { "$BOTENRUF_WINE_LOADER" "$@" </dev/null; }

# The demo: list file and network, and the program pointed at them.
demo=$WINEPREFIX/drive_c/Botenruf-Demo
mkdir -p "$demo"
cp "$root/scripts/demo/Rechner.txt" "$demo/Rechner.txt"
cp "$root/scripts/demo/netzwerk.txt" "$BOTENRUF_NETSIM_UNIX_DIR/scenario.txt"
rm -f "$BOTENRUF_NETSIM_UNIX_DIR/log.txt" "$BOTENRUF_NETSIM_UNIX_DIR/received.txt"
wine_run reg add 'HKCU\Software\Brenk\Botenruf' /v RechnerListePfad /d 'C:\Botenruf-Demo\Rechner.txt' /f >/dev/null 2>&1

if [ "$headless" = 0 ]; then
  BOTENRUF_NETSIM_SHOWBOX=1 exec "$BOTENRUF_WINE_LOADER" "$build/Botenruf.exe" "$@"
fi

botenruf_wineserver -p >/dev/null 2>&1 </dev/null &
"$BOTENRUF_WINE_LOADER" "$build/Botenruf.exe" "$@" >/dev/null 2>&1 </dev/null &
driver=$build/tests/netsim/demo_driver.exe
echo "Botenruf sendet an die Verteilerliste \"Alle\" ..."
wine_run "$driver" send Alle "Guten Morgen! Die Kaffeemaschine im 2. Stock ist repariert." \
  2>/dev/null | iconv -f CP1252 -t UTF-8 | tr -d '\r' || true
mkdir -p "$root/shots"
shot=$root/shots/botenruf.png
sleep 1
import -window root "$shot"
wine_run "$driver" close >/dev/null 2>&1 || true

echo
echo "Empfangen haben die simulierten Stationen:"
if [ -f "$BOTENRUF_NETSIM_UNIX_DIR/received.txt" ]; then
  iconv -f CP1252 -t UTF-8 "$BOTENRUF_NETSIM_UNIX_DIR/received.txt" | tr -d '\r' |
    awk -F '\t' '{ printf "  %-8s %s\n", $1, $2 }'
else
  echo "  (nichts)"
fi
echo "Bildschirmfoto: $shot"
botenruf_wineserver -k 2>/dev/null || true
if [ -f "$botenruf_state/xvfb.pid" ]; then
  kill "$(cat "$botenruf_state/xvfb.pid")" 2>/dev/null || true
  rm -f "$botenruf_state/display" "$botenruf_state/xvfb.pid"
fi
