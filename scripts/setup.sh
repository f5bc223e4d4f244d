#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs what the build, the tests and the program need on Debian 12.
# Runs as root (or through sudo); skips apt when everything is present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev libxcb1-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libgdal-dev
  xvfb xauth xdotool x11-utils xclip openbox xfwm4 imagemagick poppler-utils
  dbus at-spi2-core python3-pyatspi
  fonts-liberation fonts-dejavu-core fonts-urw-base35 fonts-comic-neue
  help2man dpkg-dev lintian file appstream desktop-file-utils time bc ccache
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
