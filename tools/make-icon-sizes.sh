#!/usr/bin/env bash
# Scales the 256 px application icon down to the other sizes desktops ask the
# hicolor theme for. The outputs are committed, so the build never runs this;
# re-run it after tools/make-images.sh changes the icon.
# Usage: tools/make-icon-sizes.sh [output-dir]
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SOURCE="$ROOT/resources/images/sonvel.png"
OUT="${1:-$ROOT/resources/icons}"

# /usr/local/bin may hold something else called convert; insist on ImageMagick.
IM="${IM_CONVERT:-/usr/bin/convert}"
if ! "$IM" -version 2>/dev/null | grep -q ImageMagick; then
    echo "make-icon-sizes.sh: ImageMagick convert not found at $IM" >&2
    exit 1
fi

# Keep the files byte-stable across runs (no timestamps or tool comments).
STABLE=(-strip -define png:exclude-chunks=date,time,tIME)

for size in 48 64 128; do
    # A box filter averages source pixels, so the tile edges show no ringing.
    "$IM" "$SOURCE" -filter box -resize "${size}x${size}!" \
        "${STABLE[@]}" "PNG32:$OUT/sonvel-$size.png"
done

echo "Icons written to $OUT"
