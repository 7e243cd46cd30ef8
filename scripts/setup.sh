#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and the demo need
# (Debian's own emulator, mame, for the test of the one-command set-up).
# Run as root on a fresh machine; packages already present are left alone.
set -euo pipefail
packages=(
  build-essential cmake ninja-build clang pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libpng-dev libspng-dev libdeflate-dev libstb-dev libexpat1-dev libarchive-dev libzip-dev
  xvfb xauth xdotool imagemagick fonts-dejavu-core
  libreoffice-writer-nogui poppler-utils python3
  help2man dpkg-dev file locales
  p7zip-full zip unzip
  mame
  # The 64-bit ARM build (scripts/test_arm64.sh): cross compilers, qemu-user and the target's libraries.
  crossbuild-essential-arm64 qemu-user-static
  libgtest-dev:arm64 libgmock-dev:arm64 zlib1g-dev:arm64 libpng-dev:arm64 libdeflate-dev:arm64
  libexpat1-dev:arm64 libarchive-dev:arm64 libzip-dev:arm64
  # The package's checks (scripts/check_package.sh) and the icon's renderer.
  lintian devscripts desktop-file-utils appstream librsvg2-bin
  # The usual desktop fonts: the window tests run with them and without.
  fonts-noto-mono fonts-urw-base35 fonts-liberation2
)
dpkg --print-foreign-architectures | grep -qx arm64 || dpkg --add-architecture arm64
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The window's tests run it under a French locale as well.
if ! locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
  sed -i 's/^# *\(fr_FR\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
