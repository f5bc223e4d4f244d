#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the Debian package and prints its path on standard output (the
# build's progress goes to stderr).
#   package.sh              a stripped Release build of the two programs (no
#                           tests, no benchmarks) in build-package/
#   package.sh BUILD-DIR    packs a build already made there (the test
#                           command's), which must be Release for /usr
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh >&2
dir=${1:-build-package}
if [ $# -eq 0 ]; then
  launcher=()
  command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF -DVALDRIS_BUILD_BENCH=OFF "${launcher[@]}" > /dev/null
else
  # The package's contents and the module's path depend on both.
  cache=$dir/CMakeCache.txt
  [ -f "$cache" ] || { echo "package.sh: no configured build in $dir" >&2; exit 2; }
  for setting in CMAKE_BUILD_TYPE:STRING=Release CMAKE_INSTALL_PREFIX:PATH=/usr VALDRIS_SANITIZE:BOOL=OFF; do
    grep -qx "$setting" "$cache" || { echo "package.sh: $dir is not built with $setting" >&2; exit 2; }
  done
fi
cmake --build "$dir" -j "$(nproc)" >&2
(cd "$dir" && cpack -G DEB >&2)
ls "$(cd "$dir" && pwd)"/valdris-power_*.deb
