#!/usr/bin/env bash
# Runs tarn-cli under valgrind over the sample image: info, a rebuild that
# completes, and rebuilds that stop with an error or a declined question.
# Every run must show no memory error and no leak, and end with the exit
# status it should have.
#   tools/run-valgrind.sh [BUILD_DIR]   (default build/native; it is built there
#                                        with the native preset if tarn-cli is missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/native}
if [[ ! -x $build/tarn-cli || ! -x $build/tarn-make-sample ]]; then
  cmake --preset native
  cmake --build --preset native -j2 --target tarn-cli tarn-make-sample
fi
cli=$build/tarn-cli

work=$(mktemp -d "${TMPDIR:-/tmp}/tarn-valgrind.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/tarn-make-sample" "$work" >/dev/null
rom=$work/sample.rom

# Images that stop the transfer: too short, and one whose first $IMG record
# declares a length that runs far past the end.
head -c 100000 "$rom" >"$work/short.rom"
cp "$rom" "$work/overrun.rom"
first_img=$(grep -obUaP '\$IMG' "$rom" | awk -F: '$1 % 16 == 0 {print $1; exit}')
printf '\xf0\xff\xff\xff' | dd of="$work/overrun.rom" bs=1 seek=$((first_img + 13)) conv=notrunc status=none
printf 'old bytes' >"$work/existing.rom"

failures=0
# expect STATUS NAME ARGS...: one tarn-cli run under valgrind.
expect() {
  local want=$1 name=$2
  shift 2
  local log=$work/$name.valgrind status=0
  valgrind --error-exitcode=1 --leak-check=full --log-file="$log" "$cli" "$@" >"$work/$name.out" 2>&1 </dev/null ||
    status=$?
  if ! grep -q 'ERROR SUMMARY: 0 errors' "$log" || [[ $status != "$want" ]]; then
    echo "run-valgrind: $name: exit $status (expected $want)" >&2
    cat "$work/$name.out" "$log" >&2
    failures=$((failures + 1))
  else
    echo "run-valgrind: $name: exit $status, $(grep -o 'ERROR SUMMARY: [0-9]* errors' "$log"): $(head -1 "$work/$name.out")"
  fi
}

expect 0 info info "$rom"
expect 0 info-json info --json "$rom"
expect 0 rebuild-all rebuild "$rom" "$work/out.rom" --logo "$work/logo.rle" --palette "$work/palette.pal" \
  --module "$work/module.rle" --dram-divisor 3
expect 0 rebuild-replace rebuild "$rom" "$work/existing.rom" --yes
expect 3 rebuild-declined rebuild "$rom" "$work/out.rom" --no
expect 1 rebuild-short rebuild "$work/short.rom" "$work/short-out.rom"
expect 1 rebuild-overrun rebuild "$work/overrun.rom" "$work/overrun-out.rom"
expect 1 rebuild-not-a-logo rebuild "$rom" "$work/bad-logo.rom" --logo "$work/module.rle" --palette "$work/palette.pal"
expect 1 rebuild-missing-module rebuild "$rom" "$work/no-module.rom" --module "$work/absent.rle"
expect 1 rebuild-same-path rebuild "$rom" "$rom" --yes
expect 2 usage rebuild "$rom"

if ((failures > 0)); then
  echo "run-valgrind: $failures run(s) failed" >&2
  exit 1
fi
echo "run-valgrind: every run clean"
