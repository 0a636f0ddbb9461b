#!/usr/bin/env bash
# Takes the pictures of the manual (docs/bilder/*.png) anew: builds Botenruf, starts it under
# Wine in Wine's virtual desktop on Xvfb against the demo network (scripts/demo/), walks
# through every window with the simulated user (tests/netsim/tools/demo_driver.cpp) and cuts
# each window out of a screenshot. The update check talks to a local server
# (tests/win/support/update_server.py) that offers a version 3.0.0.16.
# Run it after a change that alters a window; look at the pictures before committing them.
#
# With --out DIR the pictures go to DIR instead, each taken three times a little apart
# (NAME.png, NAME.2.png, NAME.3.png), so that a comparison can tell the blinking caret and the
# animations from what stays: scripts/test.sh does this for the package check, which then
# notices a picture of the manual that no longer shows its window as it is.
set -Eeuo pipefail
trap 'echo "screenshots: line $LINENO failed: $BASH_COMMAND" >&2' ERR
out=
if [ "${1:-}" = --out ]; then
  out=$(realpath -m "${2:?--out needs a folder}")
fi
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"

unset DISPLAY  # always Xvfb: the pictures must not depend on the user's desktop
source "$root/scripts/demo-env.sh"

takes=1
if [ -n "$out" ]; then
  takes=3
else
  out=$root/docs/bilder
fi
mkdir -p "$out"
work=$(mktemp -d)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  demo_end
  rm -rf "$work"
}
trap cleanup EXIT

# The update server: a version list with a newer Botenruf and the file it names.
mkdir -p "$work/www/Updates"
printf '# Versionsliste\nbotenruf;3;0;0;16;2004.12.06;1;1;Updates/;Botenruf-3.0.0.16.zip;\n' \
  >"$work/www/Updates/_updates.txt"
head -c 1200 /dev/zero >"$work/www/Updates/Botenruf-3.0.0.16.zip"
python3 "$root/tests/win/support/update_server.py" --root "$work/www" \
  --port-file "$work/port" --idle 600 &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done

# The program runs from the demo folder, so that the downloaded update lands there.
cp "$build/Botenruf.exe" "$demo/Botenruf.exe"
rm -f "$demo"/Botenruf-3.0.0.16.zip
botenruf_wineserver -p >/dev/null 2>&1 </dev/null &
BOTENRUF_UPDATE_URL="http://127.0.0.1:$(cat "$work/port")/" \
  "$BOTENRUF_WINE_LOADER" 'C:\Botenruf-Demo\Botenruf.exe' >/dev/null 2>&1 </dev/null &

screen() { import -window root "$work/screen.png"; }
# picture NAME GEOMETRY: cuts the area out of a fresh screenshot (or out of three).
picture() {
  local take name
  for take in $(seq "$takes"); do
    name=$1
    [ "$take" = 1 ] || { name=$1.$take; sleep 0.3; }
    screen
    convert "$work/screen.png" -crop "$2" +repage "$out/$name.png"
  done
  echo "$out/$1.png"
}
# window NAME [CAPTION]: the program's window with this caption (none: the main window). A
# window that does not show ends the script rather than leaving a wrong picture.
window() {
  local geometry
  geometry=$(driver window "${@:2}")
  picture "$1" "$geometry"
}
# The smallest area that holds both geometries.
union() {
  local a b
  IFS='x+' read -r -a a <<<"$1"
  IFS='x+' read -r -a b <<<"$2"
  local x=$((a[2] < b[2] ? a[2] : b[2])) y=$((a[3] < b[3] ? a[3] : b[3]))
  local r=$((a[0] + a[2] > b[0] + b[2] ? a[0] + a[2] : b[0] + b[2]))
  local d=$((a[1] + a[3] > b[1] + b[3] ? a[1] + a[3] : b[1] + b[3]))
  echo "$((r - x))x$((d - y))+$x+$y"
}
# menu_picture NAME: the main window with the menus that are open.
menu_picture() {
  local main menu
  main=$(driver window)
  menu=$(driver window menu)
  picture "$1" "$(union "$main" "$menu")"
}

# Main window and its menus
driver mode 1
driver info 1 Alle >/dev/null  # the list member check once, so that "Alle" is picked
driver click 1 '"Alle" (Fertig)'
driver type "Guten Morgen! Die Kaffeemaschine im 2. Stock ist repariert."
sleep 1
window hauptfenster
driver menu n
menu_picture menue-nachricht
driver key escape
driver key escape
driver menu e
driver key down
driver key down  # Zustellung: its three items carry radio bullets
driver key right
menu_picture menue-einstellungen
driver key escape
driver key escape
driver key escape
driver menu o
menu_picture menue-infos
driver key escape
driver key escape

# Sending, and what the program answers
driver send 1 Alle "Guten Morgen! Die Kaffeemaschine im 2. Stock ist repariert." >/dev/null
window box-offline Botenruf
driver click 1 Botenruf
driver send 0 Empfang "Ein Paket für Sie liegt am Empfang." >/dev/null
window box-well-done Botenruf
driver click 1 Botenruf
driver type ""
driver click 1052
window box-leere-meldung Error
driver click 1 Error

# The send report: the same message to the list with the report switched on, and off again
driver command 40046
driver send 1 Alle "Guten Morgen! Die Kaffeemaschine im 2. Stock ist repariert." >/dev/null
window sendebericht 'fehlgeschlagen'
driver click 2 'fehlgeschlagen'
driver command 40046

# Network information
driver info 0 Empfang >/dev/null
window rechner-info PC017
driver click 1 PC017
driver info 1 Alle >/dev/null
window verteilerlisten-info '"Alle" (Fertig)'
driver click 1 '"Alle" (Fertig)'
driver info 2 BUERO >/dev/null
window domaenen-info '"BUERO" (Fertig)'
# A right click that comes before the list takes input opens no menu: it is repeated.
for try in 1 2 3; do
  driver rightclick 1
  menu=$(driver window menu) && break
  [ "$try" = 3 ] && { echo "screenshots: the domain browser's menu does not open" >&2; exit 1; }
done
# The menu opens with its last item highlighted or with none, from run to run; one step down
# highlights the first item either way.
driver key down
browser=$(driver window '"BUERO" (Fertig)')
picture domaenen-menue "$(union "$browser" "$menu")"
driver key escape
driver shares 4 >/dev/null
window freigaben '"\\PC044" (Fertig)'
driver click 1 '"\\PC044" (Fertig)'
sleep 1
driver click 1 '"BUERO" (Fertig)'

# The countdown before a message to the whole domain (5 seconds with the default settings)
driver type "Um 12 Uhr wird der Strom für 10 Minuten abgeschaltet."
driver click 1052
window widerrufzeit Widerrufzeit
driver click 2 Widerrufzeit
sleep 1

# The list editor and its two entry dialogs
driver mode 1
driver command 40029
driver select 1021 0 Rechnerliste
driver select 1020 1 Rechnerliste
window rechnerliste Rechnerliste
driver click 1037 Rechnerliste
window dialog-verteiler 'Verteiler bearbeiten'
driver click 2 'Verteiler bearbeiten'
driver click 1032 Rechnerliste
driver select 1020 1 Rechnerliste
driver click 1038 Rechnerliste
window dialog-einzelempfaenger 'Einzelempfänger bearbeiten'
driver click 2 'Einzelempfänger bearbeiten'
driver click 1 Rechnerliste

# About box, its dedication, the two text viewers and the help hint
driver command 40004
window info-ueber 'Info über Botenruf'
driver rightdouble 'Info über Botenruf'
window widmung Widmung
driver click 1 Widmung
driver click 1 'Info über Botenruf'
driver command 40006
window versions-info Versions-Info
driver click 1 Versions-Info
driver command 40037
window listen-info Listen-Info
driver click 1 Listen-Info
driver command 57670
window hilfe 'Wo ist denn hier die Hilfe'
driver click 1 'Wo ist denn hier die Hilfe'

# The update check against the local server
driver command 40045
window update-frage 'Update suchen...'
driver click 6 'Update suchen...'
window update-angebot 'Suche nach Updates...'
driver click 6 'Suche nach Updates...'
window update-erfolg 'Herunterladen erfolgreich'
driver click 1 'Herunterladen erfolgreich'

# The notification area: the window goes there when minimised; a right click opens the menu
driver minimize
sleep 1
driver tray right
menu=$(driver window menu)
IFS='x+' read -r -a m <<<"$menu"
left=$((m[2] - 10 < 1024 - 300 ? m[2] - 10 : 1024 - 300))
picture infobereich "$((1024 - left))x$((768 - m[3] + 10))+$left+$((m[3] - 10))"
driver key escape
driver tray double

driver close >/dev/null
echo "Die Bilder liegen in $out/."
