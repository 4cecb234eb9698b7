#!/usr/bin/env bash
# Builds the fuzz preset and runs the transfer fuzzer for SECONDS (default 60)
# on a copy of the committed corpus, which stays as it is. Inputs that crash
# or break an invariant land in build/fuzz/artifacts/; add each one, once its
# fault is fixed, to fuzz/corpus/ so that every test run replays it.
# Exits non-zero when the fuzzer finds anything.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

work=$(mktemp -d "${TMPDIR:-/tmp}/tarn-fuzz-corpus.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp fuzz/corpus/* "$work/"
mkdir -p build/fuzz/artifacts

# The quarantine is ASan's default; it is what catches a use after free.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
build/fuzz/transfer_fuzzer "$work" -max_total_time="$seconds" -max_len=4096 -timeout=30 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/
echo "run-fuzz: ${seconds}s over $(ls fuzz/corpus | wc -l) seeds, nothing found"
