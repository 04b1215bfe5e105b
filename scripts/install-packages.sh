#!/usr/bin/env bash
# Installs the Debian packages Rubicel needs to build, test and run.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev fonts-liberation xvfb xauth
  help2man desktop-file-utils
  libcurl4-openssl-dev
  fp-utils libchm-dev
  clang libclang-rt-14-dev
  libpng-dev libtiff-dev libgeotiff-dev gdal-bin poppler-utils
  libexpat1-dev
  libcairo2-dev
  libcli11-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
