#!/usr/bin/env bash
# Renders the card photograph resources/card.jpg from its drawing resources/card.svg.
#
# The program shows the JPEG exactly as stored, so it must stay a 600 x 418 progressive
# YCbCr JPEG with an embedded sRGB profile. The drawing is rendered flat; the slight blur
# and the fixed-seed grain added here are what make it read as a photograph. The output is
# the same byte for byte on every run with the same package versions.
#
# Debian packages: librsvg2-bin (rsvg-convert), imagemagick (convert, identify),
# libgs-common (the sRGB ICC profile), fonts-dejavu-core and fonts-liberation (the
# drawing's silkscreen and chip markings).
#
# Usage: tools/make-photo.sh [output.jpg]   (default: resources/card.jpg)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
svg=$root/resources/card.svg
out=${1:-$root/resources/card.jpg}
icc=/usr/share/color/icc/ghostscript/srgb.icc

width=600
height=418
quality=86      # lands the file near the size of the original photograph (~77 KB)
seed=7140       # fixed grain, so that the output is reproducible

die() {
    echo "make-photo: $*" >&2
    exit 1
}

for tool in rsvg-convert convert identify; do
    command -v "$tool" >/dev/null || die "'$tool' not found (install librsvg2-bin, imagemagick)"
done
[[ -r $svg ]] || die "drawing not found: $svg"
[[ -r $icc ]] || die "sRGB profile not found: $icc (install libgs-common)"

# A missing font would silently fall back to another face and change the picture.
fonts=$(convert -list font)
for family in "DejaVu Sans" "Liberation Sans Narrow"; do
    grep -qx "  *family: $family" <<<"$fonts" || die "font '$family' not installed (install fonts-dejavu-core, fonts-liberation)"
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

rsvg-convert --width "$width" --height "$height" --format png --output "$tmp/flat.png" "$svg"

# Camera look: a little lens softness, then luminance grain blended over the picture.
convert "$tmp/flat.png" -alpha off -colorspace sRGB -gaussian-blur 0x0.45 \
    \( -size "${width}x${height}" xc:gray50 -seed "$seed" -attenuate 0.5 +noise Gaussian -colorspace gray \) \
    -compose overlay -composite \
    -strip -profile "$icc" \
    -sampling-factor 2x2,1x1,1x1 -interlace Plane -quality "$quality" \
    "$tmp/card.jpg"

# Check what the program relies on before replacing the stored photograph.
read -r w h interlace colorspace depth profiles < <(
    identify -format '%w %h %[interlace] %[colorspace] %z %[profiles]\n' "$tmp/card.jpg")
[[ $w == "$width" && $h == "$height" ]] || die "wrong size ${w}x${h}"
[[ $interlace == JPEG ]] || die "not progressive (interlace: $interlace)"
[[ $colorspace == sRGB && $depth == 8 ]] || die "unexpected colour space $colorspace / depth $depth"
[[ $profiles == *icc* ]] || die "ICC profile missing (profiles: $profiles)"

mv -f "$tmp/card.jpg" "$out"
echo "make-photo: wrote $out ($(stat -c %s "$out") bytes)"
