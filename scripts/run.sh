#!/usr/bin/env bash
# Installs what is needed, builds and starts VALDRIS Power.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build
exec "$root/build/shell/valdris-power" "$@"
