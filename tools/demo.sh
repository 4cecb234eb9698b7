#!/usr/bin/env bash
# Builds Tarn for Linux and Windows, makes a sample ROM image with a logo, a
# palette and a module of our own, shows its records, rebuilds it with all
# three and shows the result.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows

cli=build/native/tarn-cli
rm -rf sample
build/native/tarn-make-sample sample

echo; echo "== tarn-cli info sample/sample.rom"
$cli info sample/sample.rom

echo; echo "== tarn-cli rebuild with a new logo, palette and module"
rm -f sample/rebuilt.rom
$cli rebuild sample/sample.rom sample/rebuilt.rom \
  --logo sample/logo.rle --palette sample/palette.pal --module sample/module.rle

echo; echo "== tarn-cli info sample/rebuilt.rom"
$cli info sample/rebuilt.rom
