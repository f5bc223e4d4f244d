#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs what is needed and runs every test once, in two builds:
# - the sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer): every
#   test, and the tests of the real program under a window manager, which run
#   only here: a memory fault under real input is caught too;
# - the normal build, Release as the package ships it (with the benchmarks,
#   so that they keep compiling): every test that needs neither a display nor
#   a window again (the windows' tests check nothing the optimiser changes),
#   then the Debian package made from this very build, unpacked and run.
# The sanitizer build comes first. Its tests of the real program spend most
# of their time waiting on the display, so the normal build runs beside
# them at a lower priority and fills those waits rather than following them.
# Each phase prints its wall and CPU time on standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

format() { echo "== $1: %e s wall, %U s user + %S s system"; }
timed() { local name=$1; shift; /usr/bin/time -f "$(format "$name")" "$@"; }

timed "sanitizer build" bash scripts/build.sh build-asan -DVALDRIS_SANITIZE=ON

# In a process group of their own, so that a failure below ends them whole
# (and shows what they printed so far). Qt's own leaks are not ours.
sanitizer_log=$(mktemp)
setsid --wait /usr/bin/time -f "$(format "sanitizer tests")" \
  env ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE no-sanitizer > "$sanitizer_log" 2>&1 &
sanitizer_tests=$!
trap 'kill -- "-$sanitizer_tests" 2> /dev/null; cat "$sanitizer_log"; rm -f "$sanitizer_log"' EXIT

later=(nice -n 10)
timed "normal build" "${later[@]}" bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr -DVALDRIS_BUILD_BENCH=ON -DVALDRIS_WINDOW_TESTS=OFF
timed "normal tests" "${later[@]}" ctest --test-dir build --output-on-failure -j "$jobs" -LE x_display
package=$(timed "package" "${later[@]}" bash scripts/package.sh build)
timed "package test" bash tests/packaging/package_test.sh "$package"

status=0
wait "$sanitizer_tests" || status=$?
trap - EXIT
cat "$sanitizer_log"
rm -f "$sanitizer_log"
exit "$status"
