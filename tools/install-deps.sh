#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run command need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
pkgs=(cmake g++ make googletest libgtest-dev
      g++-mingw-w64-x86-64 mingw-w64-tools libwine-dev
      wine wine64 xvfb x11-apps x11-utils xdotool imagemagick fonts-wine fonts-liberation
      gstreamer1.0-plugins-base gstreamer1.0-plugins-good
      sox clang libclang-rt-14-dev lld ccache
      g++-mingw-w64-i686 espeak-ng zip)
# The 32-bit program runs on Wine's 32-bit half, an i386 package; but Debian's
# `wine` command always prefers that half once installed, so on a kernel that
# runs no 32-bit code it would break every Wine run, the 64-bit ones included.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
# The fuzz targets' 32-bit builds need the 32-bit C and C++ libraries.
orv_runs_32bit && pkgs+=(wine32:i386 g++-multilib)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]} " == *" wine32:i386 "* ]]; then
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
