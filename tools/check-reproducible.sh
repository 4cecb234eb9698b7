#!/usr/bin/env bash
# Builds the Windows programs and their ZIP twice, from two copies of this
# source tree in folders of different names and depths, and compares the
# results byte by byte. Exits non-zero when any of them differs.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tarn-repro.XXXXXX")
trap 'rm -rf "$work"' EXIT

build_copy() {
  local dir=$1
  mkdir -p "$dir"
  # The tree as it is, without builds of its own.
  tar -C "$source_dir" --exclude=./build --exclude=./.git -cf - . | tar -C "$dir" -xf -
  (cd "$dir" && cmake --preset windows -DTARN_TESTS=OFF >/dev/null &&
    cmake --build --preset windows -j2 --target dist >/dev/null)
}

first=$work/a/tarn
second=$work/second-copy/somewhere/deeper/tarn
build_copy "$first"
build_copy "$second"

status=0
for file in Tarn.exe tarn-cli.exe Tarn-*-win64.zip; do
  one=$(cd "$first/build/windows" && ls $file)
  if cmp "$first/build/windows/$one" "$second/build/windows/$one"; then
    echo "same: $one ($(stat -c %s "$first/build/windows/$one") bytes, sha256 $(sha256sum <"$first/build/windows/$one" | cut -c1-16)...)"
  else
    echo "DIFFERENT: $one"
    status=1
  fi
done
exit $status
