#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs what is needed, builds the normal and the sanitizer configuration
# and runs every test of both through CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

# The normal build also builds the benchmarks, so that they keep compiling.
bash scripts/build.sh build -DVALDRIS_BUILD_BENCH=ON
(cd build && ctest --output-on-failure -j "$(nproc)")

# The Debian package from its own stripped Release build, unpacked into a
# scratch root and run from there.
package=$(bash scripts/package.sh)
bash tests/packaging/package_test.sh "$package"

# AddressSanitizer + UndefinedBehaviorSanitizer; Qt's own leaks are not ours.
bash scripts/build.sh build-asan -DVALDRIS_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j "$(nproc)" -LE no-sanitizer)
