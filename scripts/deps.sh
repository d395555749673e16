#!/usr/bin/env bash
# Installs everything the build, the player and the tests need on a Debian 12 machine.
# Safe to run again: it only asks apt for what is missing.
set -euo pipefail

packages=(
  g++-mingw-w64-i686 mingw-w64-i686-dev mingw-w64-tools
  cmake ninja-build googletest cppcheck
  wine wine32:i386 wine64
  xvfb x11-utils imagemagick xdotool
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  gstreamer1.0-plugins-bad:i386 gstreamer1.0-plugins-ugly:i386 gstreamer1.0-libav:i386
  ffmpeg python3
  pulseaudio pulseaudio-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "deps.sh: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -q
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
