#!/usr/bin/env bash
# Installs every Debian package Tessel needs to build, test and run.
# Idempotent: when everything is present it neither updates nor installs.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang clang-format libclang-rt-dev
  nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev libmount-dev uuid-dev
  dbus
  qt6-base-dev libqt6svg6 adwaita-icon-theme fonts-ipafont-gothic
  libglib2.0-dev libnautilus-extension-dev valgrind
  nautilus xvfb xdotool libx11-dev libxtst-dev
  nemo libnemo-extension-dev caja libcaja-extension-dev thunar libthunarx-3-dev
  dolphin libkf5kio-dev extra-cmake-modules qtbase5-dev
  libsystemd-dev dpkg-dev desktop-file-utils appstream file
  gcovr
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing: ${missing[*]}"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
