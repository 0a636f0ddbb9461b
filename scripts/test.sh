#!/usr/bin/env bash
# Builds every target (host, fuzz, win32, win64) and the release package, and runs every
# test: the portable unit tests, the package check and a short fixed-seed run of each fuzz
# target on the host, and the Windows tests under Wine.
# One CTest run, one summary at the end.
# Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/install-deps.sh"

jobs=${BOTENRUF_JOBS:-2}
for preset in host fuzz win32 win64; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -- -j"$jobs"
done

# The release package, which a test of the host suite checks.
echo "== package"
"$root/scripts/package.sh"

# The manual's pictures as the program shows its windows now, which the package check compares
# with the committed ones (docs/bilder).
echo "== pictures"
# A window that does not show in time (a machine busy elsewhere) gets a second run.
for try in 1 2; do
  rm -rf "$root/build/pictures"
  "$root/scripts/screenshots.sh" --out "$root/build/pictures" >/dev/null && break
  echo "== pictures: run $try failed"
done

# The 32-bit program runs under Wine only where the machine can execute 32-bit Linux
# programs (Wine's 32-bit loader is one); otherwise the 32-bit build is compiled and linked
# but its tests run only in their 64-bit form.
# The import checks of the shipped program read the file only and always run.
suites=("host" "fuzz" "win64")
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  suites+=("win32")
else
  echo "== note: this machine cannot run 32-bit programs; the win32 build is not run under Wine"
  suites+=("win32/imports")
fi

{
  echo "# All test suites of this checkout, run as one."
  for suite in "${suites[@]}"; do echo "subdirs(\"$suite\")"; done
} >"$root/build/CTestTestfile.cmake"

ctest --test-dir "$root/build" -j"$jobs" --output-on-failure
