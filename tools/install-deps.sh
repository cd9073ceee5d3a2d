#!/usr/bin/env bash
# Installs every Debian package that the build, the reader and its tests need.
# Idempotent: packages already present are left as they are.
set -euo pipefail
packages=(
  g++ cmake make pkg-config
  libsdl2-dev libgtk-3-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libfreetype-dev libjpeg62-turbo-dev libpoppler-private-dev libcurl4-openssl-dev libx11-dev
  fonts-dejavu-core xdg-utils
  googletest libgtest-dev libbenchmark-dev
  xvfb xauth xdotool libcairo2-dev poppler-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
