#!/usr/bin/env bash
# Installs the Debian packages that building, testing, benchmarking and the end-to-end check
# need, but only those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool openbox x11-utils imagemagick librsvg2-bin libgs-common
    at-spi2-core dbus-x11 python3-pyatspi
    fonts-dejavu-core fonts-dejavu-extra fonts-liberation
    desktop-file-utils appstream lintian dpkg-dev file fakeroot
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi
