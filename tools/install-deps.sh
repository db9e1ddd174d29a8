#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Quellar needs to build, run and test.
# Quick and silent when everything is present already.
set -euo pipefail

packages=(
  cmake g++ pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
  qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtquick-controls
  qml6-module-qtquick-templates qml6-module-qtquick-layouts qml6-module-qtqml-workerscript
  qml6-module-qttest
  libhidapi-dev libudev-dev libxcb-xinput-dev libglib2.0-dev gsettings-desktop-schemas
  xvfb xauth xdotool x11-utils trayer dbus-x11
  at-spi2-core python3-pyatspi fonts-wqy-microhei
  help2man appstream desktop-file-utils
  qemu-system-x86 busybox-static # the kernel tier (tests/kernel); its kernel package is only downloaded
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
