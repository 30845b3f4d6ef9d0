#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the project.
set -euo pipefail
pkgs=(
  build-essential cmake pkg-config git python3
  libsdl2-dev libx11-dev liblzo2-dev libpng-dev zlib1g-dev libfreetype-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libgl-dev libgl1-mesa-dri libglx-mesa0 mesa-utils
  libgtest-dev googletest
  xvfb xauth x11-utils xdotool
  # the X font of SDL's message box, whose boxes the tests open under Xvfb
  xfonts-base
  librsvg2-bin fonts-dejavu-core fonts-ebgaramond
  sox ffmpeg
  locales
  libsdl2-tests
  libboost-graph-dev
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The number conversions are tested under a German locale too.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true
fi
