#!/usr/bin/env bash
# Builds the native tests and tarn-cli with AddressSanitizer and
# UndefinedBehaviorSanitizer (the asan preset, build/asan) and runs every test
# there: the first bad read, overflow, leak or undefined operation ends its
# test with a report. Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cmake --preset asan
cmake --build --preset asan -j2
ctest --preset asan
