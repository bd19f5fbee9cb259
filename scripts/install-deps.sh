#!/usr/bin/env bash
# Installs the Debian packages Zentaris needs to build, run and test; does nothing when all
# of them are there.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libsqlite3-dev sqlite3
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-freefont-ttf librsvg2-bin python3
    xvfb x11-xkb-utils evilwm xdotool x11-utils x11-apps imagemagick e2fsprogs python3-xlib
    valgrind
    desktop-file-utils appstream dpkg-dev file lintian mandoc man-db gzip
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    sudo=()
else
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
