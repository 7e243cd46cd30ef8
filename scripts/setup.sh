#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and the demo need.
# Run as root on a fresh machine; packages already present are left alone.
set -euo pipefail
packages=(
  build-essential cmake ninja-build clang pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libpng-dev libspng-dev libdeflate-dev libstb-dev libexpat1-dev
  xvfb xauth xdotool imagemagick fonts-dejavu-core
  libreoffice-writer-nogui poppler-utils python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
