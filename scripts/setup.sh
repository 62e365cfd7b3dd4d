#!/usr/bin/env bash
# Installs what Tarvik needs to build, run and test on Debian 12, skipping apt when all is present.
set -euo pipefail

PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-svg-dev libgl1-mesa-dev
  fonts-liberation xvfb xauth poppler-utils fp-utils clang libclang-rt-14-dev
  cups cups-client printer-driver-cups-pdf appstream desktop-file-utils python3)
if [ -n "${TARVIK_EXTRA_PACKAGES:-}" ]; then
  read -r -a extra <<< "$TARVIK_EXTRA_PACKAGES"
  PACKAGES+=("${extra[@]}")
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
