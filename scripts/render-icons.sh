#!/bin/sh
# Renders the application icon and the two hand pointers from their SVG sources into the PNG
# files that the program's resources carry. Run it after changing one of the SVG files and
# commit the PNG files with it; the build itself does not need rsvg-convert.
set -eu

here=$(CDPATH= cd -- "$(dirname -- "$0")" && pwd)
ui="$here/../src/app"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "render-icons.sh: rsvg-convert not found (Debian package librsvg2-bin)" >&2
    exit 1
fi

for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width="$size" --height="$size" --format=png \
        --output="$ui/icons/woundwell-$size.png" "$ui/icons/woundwell.svg"
done
cp "$ui/icons/woundwell-256.png" "$ui/icons/woundwell.png"

for pointer in hand plainhand; do
    rsvg-convert --width=32 --height=32 --format=png \
        --output="$ui/pointers/$pointer.png" "$ui/pointers/$pointer.svg"
done
