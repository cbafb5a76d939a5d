#!/bin/bash
# Renders the PNG sizes of the application icon from src/app/icons/quendra.svg.
# The PNGs are checked in, so the build never needs an SVG renderer; run this
# by hand after changing the SVG (needs rsvg-convert: apt-get install librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../src/app/icons"
command -v rsvg-convert >/dev/null || { echo "render-icons: rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" quendra.svg -o "quendra-$size.png"
done
ls -l quendra-*.png
