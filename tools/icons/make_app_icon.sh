#!/usr/bin/env bash
# Renders the application icon's PNG sizes for the desktop's hicolor theme from the one SVG
# drawing, resources/desktop/icons/scalable/zoredit.svg.
# Needs rsvg-convert (Debian package librsvg2-bin). The PNGs are committed, so a build needs no
# image tools; run this again only after changing the SVG. Metadata chunks are left out, so the
# same SVG and renderer give the same bytes on every machine.
set -euo pipefail
cd "$(dirname "$0")/../.."
svg=resources/desktop/icons/scalable/zoredit.svg
for size in 16 32 48 64 128 256; do
    dir=resources/desktop/icons/${size}x${size}
    mkdir -p "$dir"
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio --format png \
        --output "$dir/zoredit.png" "$svg"
done
