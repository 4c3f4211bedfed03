#!/usr/bin/env bash
# Installs every Debian/Ubuntu package that building, running and testing Quillon needs.
# Does nothing when all of them are present already.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config ccache
    juce-modules-source
    libasound2-dev libfreetype-dev libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev
    libpng-dev libjpeg-dev zlib1g-dev
    libgtest-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core
    alsa-utils
    librsvg2-bin
)
if [[ "${QUILLON_WITH_CLANG:-0}" == 1 ]]; then
    packages+=(clang libclang-rt-14-dev)
fi
# Building and checking the Debian package (scripts/package-deb.sh, test-package.sh); icotool
# makes the Windows icon (the quillon-ico target).
if [[ "${QUILLON_WITH_PACKAGING:-0}" == 1 ]]; then
    packages+=(dpkg-dev file lintian desktop-file-utils appstream libglib2.0-bin icoutils)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
