#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping those already there
# so that a second run costs a second. Needs root or sudo for apt-get.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-charts-dev
  libqt6sql6-sqlite libqt6sql6-psql libgl-dev libx11-dev
  libsodium-dev libxlsxwriter-dev libarchive-dev
  fonts-noto-cjk fonts-arphic-uming
  sqlite3 postgresql postgresql-client
  xvfb xauth poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: root or sudo is needed to install ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
