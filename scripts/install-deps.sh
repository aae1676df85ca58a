#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (the desktop tier's X server, window manager and
# X tools among them); does nothing when all are present.
set -euo pipefail
packages=(build-essential ccache cmake ninja-build qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev clang libclang-rt-14-dev clang-format clang-tidy pkg-config
          libusb-1.0-0-dev umockdev libumockdev-dev
          xvfb openbox xdotool x11-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
