#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, and nothing that is already there.
# The tests drive real windows under Xvfb with a window manager (openbox) and check the desktop
# entry with desktop-file-validate.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libsdl2-dev libx11-dev libepoxy-dev libimgui-dev libstb-dev
  nlohmann-json3-dev libcli11-dev libgtest-dev libbenchmark-dev
  xvfb xdotool openbox wmctrl desktop-file-utils python3
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing with apt-get: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  echo "(through sudo, which may ask for your password)"
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
