#!/usr/bin/env bash
# Builds the release package dist/Botenruf-<file version>.zip: the shipped 32-bit program at
# the top, the 64-bit build in 64-Bit/, the manual (docs/Anleitung.html) with the pictures it
# shows, a sample list file (scripts/demo/Rechner.txt) and a short read-me
# (docs/Liesmich.txt). The two text files go in as Windows-1252 with CR LF line ends, as
# Notepad of the program's Windows versions expects. The version is the one of the program's
# version block (resources/botenruf.rc).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"

version=$(sed -n 's/^ *FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' \
  resources/botenruf.rc)
if [ -z "$version" ]; then
  echo "package: no FILEVERSION in resources/botenruf.rc" >&2
  exit 1
fi

for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Botenruf -- -j"${BOTENRUF_JOBS:-2}" >/dev/null
done

stage=$root/build/package/Botenruf-$version
rm -rf "$stage"
mkdir -p "$stage/64-Bit" "$stage/bilder"
cp build/win32/Botenruf.exe "$stage/Botenruf.exe"
cp build/win64/Botenruf.exe "$stage/64-Bit/Botenruf.exe"
cp docs/Anleitung.html "$stage/Anleitung.html"
grep -o 'src="bilder/[^"]*"' docs/Anleitung.html | sed 's/^src="//; s/"$//' | sort -u |
  while read -r picture; do cp "docs/$picture" "$stage/$picture"; done
# The sample list file is kept in the repository as the program writes it.
cp scripts/demo/Rechner.txt "$stage/Rechner.txt"
iconv -f UTF-8 -t CP1252 docs/Liesmich.txt | sed 's/$/\r/' >"$stage/Liesmich.txt"

mkdir -p dist
zip=$root/dist/Botenruf-$version.zip
rm -f "$zip"
(cd "$stage" && zip -q -X -r "$zip" Botenruf.exe 64-Bit Anleitung.html bilder Rechner.txt Liesmich.txt)
echo "$zip"
