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
  # The precompiled headers are made anew in each build directory: their
  # time stamps and the macros they define are no reason to miss.
  export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
fi
cmake -S "$root" -B "$root/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" > /dev/null
cmake --build "$root/$dir" -j "$(nproc)"
