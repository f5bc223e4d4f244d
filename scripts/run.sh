#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs what is needed, builds and starts VALDRIS Power.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build
exec "$root/build/shell/valdris-power" "$@"
