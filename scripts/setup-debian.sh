#!/usr/bin/env bash
# Installs everything needed to build, run and test the program on Debian 12 (run as root).
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang-format
  # libraries
  qt6-base-dev qt6-declarative-dev libqt6quickwidgets6 qt6-declarative-dev-tools
  qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript
  qml6-module-qttest qml6-module-qtqml
  libhidapi-dev libudev-dev libx11-dev libxi-dev libglib2.0-dev gsettings-desktop-schemas
  # running and testing under a virtual display
  xvfb xauth xdotool x11-utils imagemagick trayer librsvg2-bin
  fonts-dejavu-core fonts-wqy-microhei
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
