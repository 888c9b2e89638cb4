#!/usr/bin/env bash
# Renders the PNG application icons from the SVG. Run it after changing the SVG and commit
# the PNGs: the build does not need the renderer (rsvg-convert, Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons/hicolor"
svg=scalable/apps/de.diskarium.Diskarium.svg
for size in 48 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/apps/de.diskarium.Diskarium.png"
done
