#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those that are missing.
# Runs apt-get through sudo when not root. Safe to run again: it does nothing when all is there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev portaudio19-dev
    # The tests drive the real PortAudio path through an ALSA "file" device and print to PDF.
    libasound2-plugins poppler-utils
    # The desktop entry and the AppStream description are checked by the tests.
    desktop-file-utils appstream
    # The independent readers the tests check every written wave file with.
    sox python3
    # Fonts for drawing text on the offscreen platform.
    fonts-dejavu-core
    # Music symbols (clefs, accidentals) for the dialogs' staves.
    fonts-symbola
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
