# Sourced by the Wine emulator and the session script of one build tree.
# Usage: source wine-env.sh BUILD_DIR BITS   (BITS is 32 or 64)
# Sets up the per-build Wine prefix, the simulated network tools and an Xvfb display.

botenruf_build_dir=$1
botenruf_bits=$2
botenruf_state=$botenruf_build_dir/wine
mkdir -p "$botenruf_state"

export WINEPREFIX=$botenruf_state/prefix
export WINEDEBUG=${BOTENRUF_WINEDEBUG:--all}
# German system texts and the German OEM code page (850) for the console tools.
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
# The simulated network replaces the system's console tools; mono and gecko are never needed.
export WINEDLLOVERRIDES="net.exe,nbtstat.exe,ping.exe=n;mscoree,mshtml="
# The simulated network's scenario and logs; Windows programs get the Z: form of the path.
BOTENRUF_NETSIM_UNIX_DIR=${BOTENRUF_NETSIM_UNIX_DIR:-$botenruf_state/netsim}
mkdir -p "$BOTENRUF_NETSIM_UNIX_DIR"
export BOTENRUF_NETSIM_DIR="Z:$BOTENRUF_NETSIM_UNIX_DIR"

if [ "$botenruf_bits" = 64 ]; then
  BOTENRUF_WINE_LOADER=/usr/lib/wine/wine64
  export WINELOADER=$BOTENRUF_WINE_LOADER
else
  BOTENRUF_WINE_LOADER=/usr/lib/wine/wine
fi

botenruf_wineserver() {
  local server=/usr/lib/wine/wineserver${botenruf_bits}
  [ -x "$server" ] || server=wineserver
  "$server" "$@"
}

botenruf_ensure_prefix() {
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.botenruf-ready" ]; then
      rm -rf "$WINEPREFIX"
      "$BOTENRUF_WINE_LOADER" wineboot -i >/dev/null 2>&1 || true
      # Every program runs in Wine's virtual desktop: it has a notification area, and
      # without a window manager hiding a top-level X window would wait two seconds for
      # a state change that never comes.
      "$BOTENRUF_WINE_LOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
        >/dev/null 2>&1 </dev/null
      "$BOTENRUF_WINE_LOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
        /d 1024x768 /f >/dev/null 2>&1 </dev/null
      botenruf_wineserver -w 2>/dev/null || true
      touch "$WINEPREFIX/.botenruf-ready"
    fi
    # Keep the simulated tools current in system32 (cheap when nothing changed).
    sys32=$WINEPREFIX/drive_c/windows/system32
    [ "$botenruf_bits" = 32 ] && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && sys32=$WINEPREFIX/drive_c/windows/syswow64
    for tool in net nbtstat ping; do
      src=$botenruf_build_dir/tests/netsim/$tool.exe
      if [ -f "$src" ] && ! cmp -s "$src" "$sys32/$tool.exe"; then cp "$src" "$sys32/$tool.exe"; fi
    done
  ) 9>"$botenruf_state/prefix.lock"
}

botenruf_ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  (
    flock 9
    if [ -f "$botenruf_state/display" ] && kill -0 "$(cat "$botenruf_state/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
      exit 0
    fi
    rm -f "$botenruf_state/display.tmp"
    setsid Xvfb -displayfd 8 -screen 0 1024x768x24 -nolisten tcp 8>"$botenruf_state/display.tmp" >/dev/null 2>&1 9>&- &
    echo $! >"$botenruf_state/xvfb.pid"
    for _ in $(seq 100); do
      [ -s "$botenruf_state/display.tmp" ] && break
      sleep 0.1
    done
    echo ":$(tr -d '\n' <"$botenruf_state/display.tmp")" >"$botenruf_state/display"
  ) 9>"$botenruf_state/display.lock"
  DISPLAY=$(cat "$botenruf_state/display")
  export DISPLAY
}

# Starts Wine's own services detached from any caller's output, so that they do not hold
# a test runner's pipe open.
botenruf_start_services() {
  "$BOTENRUF_WINE_LOADER" wineboot >/dev/null 2>&1 </dev/null
}

