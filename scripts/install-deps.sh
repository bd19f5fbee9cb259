#!/usr/bin/env bash
# Installs the Debian packages Zentaris needs to build, run and test; does nothing when all
# of them are there.
set -euo pipefail

packages=(
    # build
    build-essential cmake pkg-config
    libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libsqlite3-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # assets: the font the game uses; pictures rendered from SVG by rsvg-convert (which brings
    # fontconfig), keyed and written by Pillow and NumPy; sounds made with NumPy
    fonts-freefont-ttf librsvg2-bin python3 python3-pil python3-numpy
    # the real binary under test: a virtual X server, the window manager and the "fixed" font
    # it needs to start (a recommendation of the X server, so not pulled in by it here), input
    # (xdotool), the immutable attribute (chattr); windows, focus and screenshots go through
    # python3-xlib, pictures through Pillow and NumPy (above)
    xvfb x11-xkb-utils evilwm xfonts-base xdotool e2fsprogs
    # memcheck of the game's tests; the test harness and the start-up benchmark use Xlib
    valgrind python3-xlib
    # the learning report's page shown in a real browser
    chromium
    # install and package checks
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
