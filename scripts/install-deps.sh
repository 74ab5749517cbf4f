#!/usr/bin/env bash
# Installs what Tavolex needs on Debian 12: `install-deps.sh run` what building
# and running it takes, `install-deps.sh test` (the default) also the test
# tools and the independent readers the checks compare with. Quiet and quick
# when everything is there already.
set -euo pipefail
mode=${1:-test}

packages=(
  build-essential cmake g++ googletest libgtest-dev libxxhash-dev
  libicu-dev qt6-base-dev qt6-charts-dev qt6-pdf-dev libqpdf-dev libqt6opengl6-dev fonts-liberation fonts-dejavu-core fonts-wine xdg-utils xdg-user-dirs
)
if [ "$mode" = test ]; then
  packages+=(
    clang libclang-rt-14-dev libbenchmark-dev xvfb xauth xdotool imagemagick
    desktop-file-utils libglib2.0-bin
    python3-xlrd python3-olefile python3-msoffcrypto-tool
    libreoffice-calc-nogui libreoffice-writer-nogui libreoffice-impress-nogui python3-uno
    poppler-utils
  )
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
