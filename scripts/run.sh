#!/usr/bin/env bash
# Builds Botenruf and starts it under Wine against a demo network of the simulated console
# tools, with a sample list file (scripts/demo/).
#   With a display (DISPLAY set): the program opens there and the simulated stations show
#   the messages they receive as boxes; end it with "Beenden".
#   Without one: it runs on Xvfb in Wine's virtual desktop and a simulated user walks through
#   it: a message to the distribution list "Alle", one to the single recipient "Empfang" with
#   net send and one with msg (as on Windows Vista and newer), the list member check of "Alle"
#   and the station info of "Empfang". The script prints
#   what the program showed and what each station received, writes screenshots to shots/
#   and ends the program again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
source "$root/scripts/demo-env.sh"

if [ "$headless" = 0 ]; then
  BOTENRUF_NETSIM_SHOWBOX=1 exec "$BOTENRUF_WINE_LOADER" "$build/Botenruf.exe" "$@"
fi

botenruf_wineserver -p >/dev/null 2>&1 </dev/null &
"$BOTENRUF_WINE_LOADER" "$build/Botenruf.exe" "$@" >/dev/null 2>&1 </dev/null &
mkdir -p "$root/shots"
snap() { import -window root "$root/shots/$1.png" && echo "Bildschirmfoto: shots/$1.png"; }
# A screenshot of the one window whose caption holds $2.
snap_window() {
  local geometry
  geometry=$(driver window "$2") || return 0
  import -window root "$root/shots/$1.png"
  convert "$root/shots/$1.png" -crop "$geometry" +repage "$root/shots/$1.png"
  echo "Bildschirmfoto: shots/$1.png"
}

echo "1. Botenruf sendet an die Verteilerliste \"Alle\" ..."
driver send 1 Alle "Guten Morgen! Die Kaffeemaschine im 2. Stock ist repariert." || true
sleep 1
snap botenruf

echo
echo "2. ... und an den Einzelempfänger \"Empfang\":"
driver send 0 Empfang "Ein Paket für Sie liegt am Empfang." || true
sleep 1
snap senden

echo
echo "3. ... und noch einmal an \"Empfang\", diesmal mit msg wie unter Windows Vista und neuer"
echo "   (Einstellungen > Zustellung > Sitzungsnachricht (msg)):"
driver command 40049 >/dev/null || true
driver send 0 Empfang "Das Paket ist abgeholt, danke." || true
grep -a "$(printf '\tmsg\t')" "$BOTENRUF_NETSIM_UNIX_DIR/log.txt" 2>/dev/null | cut -f3 |
  iconv -f CP1252 -t UTF-8 | sed 's/\\\\/\\/g; s/^/Aufruf: /' || true

echo
echo "4. Verteilerlisten-Info: ist jedes Mitglied der Liste \"Alle\" im Netz?"
driver info 1 Alle || true
snap_window verteilerlisten-info '"Alle" (Fertig)'
driver click 1 '"Alle" (Fertig)' || true

echo
echo "5. Rechner-Info der Station hinter \"Empfang\":"
driver info 0 Empfang || true
snap_window rechner-info PC017
driver click 1 PC017 || true

driver close >/dev/null 2>&1 || true
echo
echo "Empfangen haben die simulierten Stationen:"
demo_received
demo_end
