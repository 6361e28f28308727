#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the program and the tests need, where they are missing.
set -euo pipefail

packages=(
  cmake g++ ninja-build ccache pkg-config
  qt6-base-dev qt6-webengine-dev qt6-translations-l10n
  libssl-dev libjpeg62-turbo-dev libgtest-dev libgmock-dev
  fonts-dejavu-core shared-mime-info desktop-file-utils
  xvfb xauth imagemagick xdotool x11-utils librsvg2-bin openbox
  dpkg-dev appstream xdg-utils libglib2.0-bin lintian nsis
  clang-14 libclang-rt-14-dev
)
if [ "${MIVEX_BENCH_PEERS:-0}" = 1 ]; then
  packages+=(age 7zip gpg openssl coreutils time python3)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    # A bare Debian has no sudo: say what to run instead of failing on a missing command.
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "There is no sudo here. Install them as root (su -), then run this again:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
