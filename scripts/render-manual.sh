#!/usr/bin/env bash
# Renders the manual (docs/Anleitung.html, or the page given) with headless Chromium from
# Debian's packages into a screenshot, by default shots/anleitung.png, to look at after a
# change. Installs chromium when it is missing; scripts/test.sh does not need it.
#   scripts/render-manual.sh [PAGE.html [OUT.png]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
page=$(realpath "${1:-$root/docs/Anleitung.html}")
out=${2:-$root/shots/anleitung.png}

if ! command -v chromium >/dev/null 2>&1; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  echo "render-manual: installing chromium"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends chromium
fi

mkdir -p "$(dirname "$out")"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
# No sandbox: the sandbox refuses to run as root, which containers and CI often are.
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$profile" --screenshot="$out" --window-size=1200,"${BOTENRUF_RENDER_HEIGHT:-3000}" \
  "file://$page" 2>/dev/null
echo "$out"
