#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the Debian package: a stripped Release build of the two programs
# (no tests, no benchmarks) in build-package/, packed by CPack. Prints the
# package's path on standard output (the build's progress goes to stderr).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh >&2
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DVALDRIS_BUILD_BENCH=OFF "${launcher[@]}" > /dev/null
cmake --build build-package -j "$(nproc)" >&2
(cd build-package && cpack -G DEB >&2)
ls "$root"/build-package/valdris-power_*.deb
