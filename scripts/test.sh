#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs what is needed and runs every test once, in two builds:
# - the normal build, Release as the package ships it (with the benchmarks,
#   so that they keep compiling): every test that needs no display, then the
#   Debian package made from this very build, unpacked and run;
# - the sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer): every
#   test again, and the tests of the real program under a window manager,
#   which run only here: a memory fault under real input is caught too.
# Each phase prints its wall and CPU time on standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

timed() {
  local name=$1; shift
  /usr/bin/time -f "== $name: %e s wall, %U s user + %S s system" "$@"
}

timed "normal build" bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVALDRIS_BUILD_BENCH=ON
timed "normal tests" ctest --test-dir build --output-on-failure -j "$jobs" -LE x_display

package=$(timed "package" bash scripts/package.sh build)
timed "package test" bash tests/packaging/package_test.sh "$package"

# Qt's own leaks are not ours.
timed "sanitizer build" bash scripts/build.sh build-asan -DVALDRIS_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
timed "sanitizer tests" ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE no-sanitizer
