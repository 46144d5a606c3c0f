#!/bin/sh
# Renders the application icon and the two hand pointers from their SVG sources into the PNG
# files that the program's resources carry. Run it after changing one of the SVG files and
# commit the PNG files with it; the build itself does not need rsvg-convert.
set -eu

here=$(CDPATH= cd -- "$(dirname -- "$0")" && pwd)
app="$here/../src/app"
forms="$here/../src/forms"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "render-icons.sh: rsvg-convert not found (Debian package librsvg2-bin)" >&2
    exit 1
fi

for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width="$size" --height="$size" --format=png \
        --output="$app/icons/woundwell-$size.png" "$app/icons/woundwell.svg"
done
cp "$app/icons/woundwell-256.png" "$app/icons/woundwell.png"

for pointer in hand plainhand; do
    rsvg-convert --width=32 --height=32 --format=png \
        --output="$forms/pointers/$pointer.png" "$forms/pointers/$pointer.svg"
done
