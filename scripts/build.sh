#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Configures and builds one configuration: build.sh <build-dir> [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
# A compiler cache, where installed, lets other checkouts of the same sources
# (worktrees, CI's fresh clone on the same machine) reuse objects.
launcher=()
if command -v ccache > /dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
fi
cmake -S "$root" -B "$root/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" > /dev/null
cmake --build "$root/$dir" -j "$(nproc)"
