#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang's libFuzzer in a tree of their own (build-fuzz, every
# module instrumented, AddressSanitizer and UndefinedBehaviorSanitizer on), has each target write
# its seed corpus, and runs each target on its corpus for the given number of seconds.
#
#   bash tools/fuzz.sh            # 5 seconds per target (what the test command runs)
#   bash tools/fuzz.sh 600        # ten minutes per target
#   bash tools/fuzz.sh 300 fuzz_html fuzz_tga   # some targets only
#
# The corpus grows in build-fuzz/corpus/<target>; an input that crashes, leaks, hangs or runs out
# of memory is kept in build-fuzz/artifacts/ and the script fails. Without clang++ it does nothing.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-5}
shift || true
if ! command -v clang++ >/dev/null 2>&1; then
  echo "== fuzz targets skipped: clang++ is not installed"
  exit 0
fi
tree="$top/build-fuzz"
CC=clang CXX=clang++ cmake -S "$top" -B "$tree" -DLECTREL_FUZZ=ON -DLECTREL_TESTS=OFF \
  -DLECTREL_BENCH=OFF >/dev/null
cmake --build "$tree" -j "$(nproc)" --target lectrel_fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_html fuzz_opf fuzz_text fuzz_bmp fuzz_tga fuzz_jpeg fuzz_settings fuzz_slots
           fuzz_display_mode)
fi
# Leaks are reported by libFuzzer itself; a bad input stops the run at once.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$tree/artifacts"
# Each target runs in a process of its own on one core: they run side by side, as many at once as
# there are cores, and report in the order given.
fuzz_one() {
  local t=$1 corpus="$tree/corpus/$1"
  mkdir -p "$corpus"
  LECTREL_FUZZ_WRITE_SEEDS="$corpus" "$tree/fuzz/$t" >/dev/null 2>&1
  local files
  files=$(ls "$corpus" | wc -l)
  local rc=0
  "$tree/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$tree/artifacts/$t-" "$corpus" 2>"$tree/$t.log" || rc=1
  {
    echo "== $t: $seconds s on $files corpus files"
    [ $rc -eq 0 ] || tail -n 60 "$tree/$t.log"
    grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "$tree/$t.log" | tail -n 2 || true
  } >"$tree/$t.report"
  echo $rc >"$tree/$t.status"
}
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  rm -f "$tree/$t.status" "$tree/$t.report"
  fuzz_one "$t" &
done
wait
status=0
for t in "${targets[@]}"; do
  cat "$tree/$t.report" 2>/dev/null || echo "== $t: did not run (its seed files could not be written)"
  [ "$(cat "$tree/$t.status" 2>/dev/null)" = 0 ] || status=1
done
exit $status
