#!/usr/bin/env bash
# Installs every Debian package that the build, the program and its tests need.
# Idempotent: packages already present are skipped, so repeated runs are quick.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  # program
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-translations-l10n libx11-dev libxi-dev
  libespeak-ng-dev espeak-ng-data libcanberra-dev
  libcurl4-openssl-dev libarchive-dev libgumbo-dev libseccomp-dev
  fonts-noto-cjk fonts-dejavu-core
  # tests and measurements
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick trayer xcompmgr openbox sox xclip libcpp-httplib-dev
  shared-mime-info desktop-file-utils xdg-utils libfile-mimeinfo-perl
  libarchive-tools curl bindfs
  # event sounds played into a private sound server's null sink
  pulseaudio pulseaudio-utils libcanberra-pulse
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
