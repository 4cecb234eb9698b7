#!/usr/bin/env bash
# Measures a rebuild against a plain copy of the same image, in the same run and
# with a warm cache, so that the ratio says what the rebuild costs beyond the
# I/O every copy pays; and the rebuild's peak memory against its budget.
#
#   bench/rebuild-bench.sh [BUILD_DIR]      (default: build/native of this tree)
#
# Environment: SIZES_MIB (default "1 16 64"), RUNS (default 21), WARMUP (default 3),
# TMPDIR (where the images are made; use a disk, not a tmpfs, to measure a disk).
# Needs hyperfine, GNU time (/usr/bin/time) and jq: apt-get install -y hyperfine time jq
set -euo pipefail

usage() {
  sed -n '2,10s/^# \{0,1\}//p' "$0"
}

case "${1:-}" in
  -h | --help)
    usage
    exit 0
    ;;
esac
[ $# -le 1 ] || {
  usage >&2
  exit 2
}

build=${1:-$(cd "$(dirname "$0")/.." && pwd)/build/native}
sizes_mib=${SIZES_MIB:-"1 16 64"}
runs=${RUNS:-21}
warmup=${WARMUP:-3}
cli=$build/tarn-cli
make_sample=$build/tarn-make-sample
# The rebuild may use the image, its collected blocks and this much besides.
allowance_kib=$((8 * 1024))
target_ratio=1.25
target_mib=64

fail() {
  echo "rebuild-bench: $*" >&2
  exit 1
}
for tool in "$cli" "$make_sample"; do
  [ -x "$tool" ] || fail "$tool not found: build the tree first (cmake --build $build)"
done
command -v hyperfine >/dev/null || fail "hyperfine not found: apt-get install -y hyperfine"
[ -x /usr/bin/time ] || fail "/usr/bin/time not found: apt-get install -y time"
command -v jq >/dev/null || fail "jq not found: apt-get install -y jq"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarn-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -sr), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "# transparent huge pages: $(cat /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null || echo unknown)"
echo "# $(hyperfine --version), median of $runs runs after $warmup warm-up runs; images in $work"
printf '%8s %9s %12s %7s %14s %11s\n' size "cat ms" "tarn-cli ms" ratio "peak RSS KiB" "limit KiB"

ratio_met="not measured"
rss_met=yes
for mib in $sizes_mib; do
  dir=$work/$mib
  "$make_sample" "$dir" --size $((mib * 1024 * 1024)) >/dev/null
  image=$dir/sample.rom
  copy=$dir/copy.rom
  rebuilt=$dir/rebuilt.rom

  # hyperfine's advice on outliers and short commands goes to its log; shown only if it fails.
  hyperfine --shell bash --style none --warmup "$warmup" --runs "$runs" --export-json "$dir/times.json" \
    -n cat "cat $(printf %q "$image") > $(printf %q "$copy")" \
    -n tarn-cli "$(printf %q "$cli") rebuild $(printf %q "$image") $(printf %q "$rebuilt") --yes" \
    >"$dir/hyperfine.log" 2>&1 ||
    fail "hyperfine failed at $mib MiB: $(cat "$dir/hyperfine.log")"
  median_ms() {
    jq -r --arg name "$1" '.results[] | select(.command == $name) | .median * 1000' "$dir/times.json"
  }
  cat_ms=$(median_ms cat)
  cli_ms=$(median_ms tarn-cli)

  # A rebuild that did not happen would make every figure meaningless.
  length=$(stat -c %s "$image")
  [ "$(stat -c %s "$rebuilt")" = "$length" ] || fail "$rebuilt has the wrong length"

  peak_kib=0
  for _ in 1 2 3 4 5; do
    /usr/bin/time -f %M -o "$dir/rss" "$cli" rebuild "$image" "$rebuilt" --yes >/dev/null
    rss=$(tail -n 1 "$dir/rss")
    [ "$rss" -gt "$peak_kib" ] && peak_kib=$rss
  done
  blocks=$("$cli" info "$image" --json | jq '[.rebuild.blocks[].size] | add // 0')
  limit_kib=$(((length + blocks + 1023) / 1024 + allowance_kib))
  [ "$peak_kib" -le "$limit_kib" ] || rss_met=no

  ratio=$(awk -v a="$cli_ms" -v b="$cat_ms" 'BEGIN { printf "%.2f", a / b }')
  if [ "$mib" = "$target_mib" ]; then
    ratio_met=$(awk -v r="$ratio" -v t="$target_ratio" 'BEGIN { print (r <= t) ? "yes" : "no" }')
  fi
  printf '%6s MiB %9.1f %12.1f %7s %14s %11s\n' "$mib" "$cat_ms" "$cli_ms" "$ratio" "$peak_kib" "$limit_kib"
done

echo "# target: ratio <= $target_ratio at $target_mib MiB: $ratio_met; peak RSS within limit at every size: $rss_met"
