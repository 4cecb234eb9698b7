#!/usr/bin/env bash
# Everything that must pass before a change lands: both builds with all their
# tests (the Windows ones under Wine), the sanitizer build, valgrind, a short
# fuzz run and the check that builds are reproducible.
set -euo pipefail
cd "$(dirname "$0")/.."

step() { printf '\n==== %s\n' "$*"; }

tools/install-deps.sh

step "native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

step "Windows build and tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
# The first Wine start creates the prefix and the display; let it happen
# here, where a failure says what went wrong, rather than inside a test.
cmake/wine-run.sh build/windows/tarn-cli.exe --help >/dev/null
ctest --preset windows
wineserver_stop() { WINEPREFIX="$PWD/build/windows/wineprefix" wineserver -k 2>/dev/null || true; }
wineserver_stop

step "format"
tools/check-format.sh

for extra in tools/run-sanitizers.sh tools/run-valgrind.sh "tools/run-fuzz.sh 60" tools/check-reproducible.sh; do
  step "$extra"
  $extra
done

step "all passed"
