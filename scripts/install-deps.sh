#!/usr/bin/env bash
# Installs what building, running and testing Glossmill needs on a Debian machine.
# Does nothing when every package is already there.
set -euo pipefail
packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libqt6webenginecore6-bin
  libgl-dev libpugixml-dev libgtest-dev
  xvfb xauth x11-apps imagemagick xdotool aapt unrtf libxml2-utils
  openbox x11-utils
  fonts-dejavu-core
  # The scripts of the languages translated into (Indic, Thai, Chinese, Japanese, Korean and the rest); without a font
  # for a script its texts show as boxes. About 70 MB to fetch, 130 MB installed.
  fonts-noto-core fonts-noto-cjk
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
