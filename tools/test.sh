#!/usr/bin/env bash
# Installs the dependencies, then builds and runs every test twice: a normal build, then an
# AddressSanitizer + UndefinedBehaviorSanitizer build. GL and window tests need a display, so
# both runs happen inside one virtual X server. Last, every fuzz target is built with clang's
# libFuzzer and run on its seed corpus for a few seconds (tools/fuzz.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
# The sanitizer build also runs its build-time generators instrumented; they only draw pictures and
# sample books, so their exit is not checked for leaks.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash "$top/tools/build.sh" build -DLECTREL_TESTS=ON -DLECTREL_BENCH=ON
bash "$top/tools/build.sh" build-asan -DLECTREL_SANITIZE=ON -DLECTREL_TESTS=ON -DLECTREL_BENCH=OFF
# The tests are checked for leaks too, less the caches that system libraries keep until exit.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0"
status=0
for dir in build build-asan; do
  echo "== tests in $dir"
  # The leak checker stops every thread at exit and was seen to crash on the software GL
  # driver's workers: the sanitizer run draws on one thread.
  lp=""; [ "$dir" = build-asan ] && lp=0
  LP_NUM_THREADS=$lp xvfb-run -a -s "-screen 0 1280x800x24" \
    ctest --test-dir "$top/$dir" --output-on-failure -j "$(nproc)" || status=1
done
bash "$top/tools/fuzz.sh" 5 || status=1
exit $status
