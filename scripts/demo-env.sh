# Sourced by run.sh and screenshots.sh. Builds Botenruf for Wine and prepares the demo: the
# simulated network of scripts/demo/netzwerk.txt and the sample list file, which the program
# is pointed at. Without DISPLAY the program runs on Xvfb in Wine's virtual desktop.
# Afterwards: $build (the build tree), $demo (C:\Botenruf-Demo as a Linux path), wine_run,
# driver (the simulated user, tests/netsim/tools/demo_driver.cpp, its output in UTF-8),
# demo_received (what the simulated stations received) and demo_end.

# The shipped program is the 32-bit build; where this machine cannot run 32-bit programs
# under Wine, the 64-bit build of the same sources is started instead.
preset=win32
/usr/lib/wine/wine --version >/dev/null 2>&1 || preset=win64
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -- -j"${BOTENRUF_JOBS:-2}"
build=$root/build/$preset

source "$root/scripts/wine-env.sh" "$build" "${preset#win}"
botenruf_ensure_prefix
botenruf_ensure_display
wine_run() { "$BOTENRUF_WINE_LOADER" "$@" </dev/null; }

demo=$WINEPREFIX/drive_c/Botenruf-Demo
mkdir -p "$demo"
cp "$root/scripts/demo/Rechner.txt" "$demo/Rechner.txt"
cp "$root/scripts/demo/netzwerk.txt" "$BOTENRUF_NETSIM_UNIX_DIR/scenario.txt"
rm -f "$BOTENRUF_NETSIM_UNIX_DIR/log.txt" "$BOTENRUF_NETSIM_UNIX_DIR/received.txt"
# Settings of earlier runs would change what the demo shows.
wine_run reg delete 'HKCU\Software\Brenk\Botenruf' /f >/dev/null 2>&1 || true
wine_run reg add 'HKCU\Software\Brenk\Botenruf' /v RechnerListePfad /d 'C:\Botenruf-Demo\Rechner.txt' /f >/dev/null 2>&1

driver() {
  wine_run "$build/tests/netsim/demo_driver.exe" "$@" 2>/dev/null | iconv -f CP1252 -t UTF-8 | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

demo_received() {
  if [ -f "$BOTENRUF_NETSIM_UNIX_DIR/received.txt" ]; then
    iconv -f CP1252 -t UTF-8 "$BOTENRUF_NETSIM_UNIX_DIR/received.txt" | tr -d '\r' |
      awk -F '\t' '{ printf "  %-8s %s\n", $1, $2 }'
  else
    echo "  (nichts)"
  fi
}

# Ends Wine and the display this script started.
demo_end() {
  botenruf_wineserver -k 2>/dev/null || true
  if [ -f "$botenruf_state/xvfb.pid" ]; then
    kill "$(cat "$botenruf_state/xvfb.pid")" 2>/dev/null || true
    rm -f "$botenruf_state/display" "$botenruf_state/xvfb.pid"
  fi
}
