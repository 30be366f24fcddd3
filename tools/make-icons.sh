#!/usr/bin/env bash
# Renders the program's icon into the hicolor PNGs that are installed and embedded as the
# window icon: packaging/icons/hicolor/<N>x<N>/apps/<icon>.png for the usual sizes.
#
# 16 and 24 pixels come from drawings of their own on the pixel grid (app-icon-16.svg,
# app-icon-24.svg), since the full drawing turns to mush at those sizes; 32 pixels and up come
# from app-icon.svg, which is also installed as the scalable icon. The output is the same byte for
# byte on every run with the same librsvg.
#
# Debian package: librsvg2-bin (rsvg-convert).
#
# Usage: tools/make-icons.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
icons=$root/packaging/icons
name=com.telvar.kx7140_settings

die() {
    echo "make-icons: $*" >&2
    exit 1
}

command -v rsvg-convert >/dev/null || die "'rsvg-convert' not found (install librsvg2-bin)"

for size in 16 24 32 48 64 128 256; do
    case $size in
    16 | 24) drawing=$icons/app-icon-$size.svg ;;
    *) drawing=$icons/app-icon.svg ;;
    esac
    [[ -r $drawing ]] || die "drawing not found: $drawing"
    dir=$icons/hicolor/${size}x${size}/apps
    mkdir -p "$dir"
    rsvg-convert --width "$size" --height "$size" --format png --output "$dir/$name.png" "$drawing"
done
echo "make-icons: wrote $icons/hicolor/*/apps/$name.png"
