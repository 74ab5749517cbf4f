#!/usr/bin/env bash
# Installs what building, running and testing Tavolex needs on Debian 12.
# Quiet and quick when everything is there already.
set -euo pipefail

packages=(
  build-essential cmake g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  qt6-base-dev xvfb xauth xdotool imagemagick
  fonts-liberation fonts-dejavu-core fonts-wine xdg-utils xdg-user-dirs
  python3-xlrd python3-olefile python3-msoffcrypto-tool
)
# The independent spreadsheet program the external checks open our files with.
if [ "${TAVOLEX_NO_LIBREOFFICE:-0}" != 1 ]; then
  packages+=(libreoffice-calc-nogui python3-uno)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
