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
export WINEDLLOVERRIDES="net.exe,msg.exe,nbtstat.exe,ping.exe=n;mscoree,mshtml="
# The simulated network's scenario and logs; Windows programs get the Z: form of the path.
BOTENRUF_NETSIM_UNIX_DIR=${BOTENRUF_NETSIM_UNIX_DIR:-$botenruf_state/netsim}
mkdir -p "$BOTENRUF_NETSIM_UNIX_DIR"
export BOTENRUF_NETSIM_DIR="Z:$BOTENRUF_NETSIM_UNIX_DIR"

if [ "$botenruf_bits" = 64 ]; then
  BOTENRUF_WINE_LOADER=/usr/lib/wine/wine64
  export WINELOADER=$BOTENRUF_WINE_LOADER
else
  # A pure 32-bit prefix: the 32-bit wineserver cannot serve a 64-bit one.
  BOTENRUF_WINE_LOADER=/usr/lib/wine/wine
  export WINEARCH=win32
fi

botenruf_wineserver() {
  local server=/usr/lib/wine/wineserver${botenruf_bits}
  [ -x "$server" ] || server=wineserver
  "$server" "$@"
}

botenruf_ensure_prefix() {
  (
    flock 9
    # The marker holds the word size the prefix was made for; another one means a new prefix.
    if [ "$(cat "$WINEPREFIX/.botenruf-ready" 2>/dev/null)" != "$botenruf_bits" ]; then
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
      echo "$botenruf_bits" >"$WINEPREFIX/.botenruf-ready"
    fi
    # Botenruf reports Windows XP here, a system it was made for, so that its automatic delivery
    # takes net send as there (the prefix itself reports Windows 7). A test that needs a newer
    # Windows sets another version for the program and puts this one back afterwards.
    if [ ! -f "$WINEPREFIX/.botenruf-winxp" ]; then
      "$BOTENRUF_WINE_LOADER" reg add 'HKCU\Software\Wine\AppDefaults\Botenruf.exe' /v Version \
        /d winxp /f >/dev/null 2>&1 </dev/null && touch "$WINEPREFIX/.botenruf-winxp"
    fi
    # Wine's own fonts (Marlett draws the caption buttons, Tahoma the menus and dialogs) are
    # found only in the prefix's font folder; without Marlett the buttons show "0", "1", "r".
    fonts=$WINEPREFIX/drive_c/windows/Fonts
    mkdir -p "$fonts"
    for font in /usr/share/wine/fonts/*; do
      [ -f "$fonts/${font##*/}" ] || cp "$font" "$fonts/"
    done
    # Keep the simulated tools current in system32 (cheap when nothing changed).
    sys32=$WINEPREFIX/drive_c/windows/system32
    [ "$botenruf_bits" = 32 ] && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && sys32=$WINEPREFIX/drive_c/windows/syswow64
    for tool in net msg nbtstat ping; do
      src=$botenruf_build_dir/tests/netsim/$tool.exe
      if [ -f "$src" ] && ! cmp -s "$src" "$sys32/$tool.exe"; then cp "$src" "$sys32/$tool.exe"; fi
    done
    # The explorer stand-in goes to C:\, the program's current directory, which the command
    # interpreter searches first; Wine's own explorer.exe runs the desktop and must stay.
    src=$botenruf_build_dir/tests/netsim/explorer.exe
    if [ -f "$src" ] && ! cmp -s "$src" "$WINEPREFIX/drive_c/explorer.exe"; then
      cp "$src" "$WINEPREFIX/drive_c/explorer.exe"
    fi
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

