#!/usr/bin/env bash
# Installs every Debian package that building, running and testing ORVENA needs.
# Safe to run again: packages already present are skipped. The X server and PulseAudio
# packages serve the one test that plays through a real sound server (the black-box
# desktop of the shared folder).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libfreexl-dev libgsf-1-dev librtaudio-dev librtmidi-dev libsndfile1-dev libpulse-dev libjack-dev
  xvfb x11-utils pulseaudio pulseaudio-utils libasound2-plugins
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  dbus-daemon
  python3 python3-xlwt
  fonts-dejavu-core
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
