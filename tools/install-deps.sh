#!/usr/bin/env bash
# Installs the Debian packages the engine, its tests and its tools need, and only those missing.
# Runs apt-get update once, and only when something must be installed.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  liblua5.1-0-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev
  libglu1-mesa-dev libglew-dev freeglut3-dev libx11-dev
  libopenal-dev libalut-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
  libfreetype-dev fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
