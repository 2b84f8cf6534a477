#!/usr/bin/env bash
# Installs the Debian packages Kaviro needs to build, test and run.
# Only packages that are missing are installed, so a second run is quick.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libjpeg62-turbo-dev libgif-dev
  qt6-base-dev qt6-translations-l10n qt6-multimedia-dev
  fonts-liberation fonts-dejavu-core
  libmuparser-dev
  libuemf-dev emf2svg libwmf-bin poppler-utils
  xvfb xauth
  openbox xdotool x11-utils x11-xserver-utils
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  SUDO=(sudo -n)
else
  echo "error: these packages are missing and I cannot install them (not root, no sudo):" >&2
  echo "  ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
