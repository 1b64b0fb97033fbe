#!/bin/sh
# Renders the application icon's PNG sizes from mensora.svg (needs
# rsvg-convert, package librsvg2-bin). Run after changing the drawing and
# commit the PNGs with it.
set -eu
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" mensora.svg -o "mensora-$size.png"
done
