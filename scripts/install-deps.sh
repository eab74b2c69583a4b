#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the program and the tests need and is missing.
set -euo pipefail
packages=(build-essential cmake pkg-config qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libsqlite3-dev
          fonts-nanum fonts-nanum-coding poppler-utils qt6-translations-l10n)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
