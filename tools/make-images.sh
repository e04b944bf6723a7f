#!/usr/bin/env bash
# Draws every bitmap under resources/images/ with ImageMagick primitives.
# The outputs are committed, so the build never runs this; re-run it after
# changing a drawing. Usage: tools/make-images.sh [output-dir]
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${1:-$ROOT/resources/images}"
FONT_BOLD="$ROOT/resources/fonts/droid-sans/DroidSans-Bold.ttf"
FONT_REGULAR="$ROOT/resources/fonts/droid-sans/DroidSans.ttf"

# /usr/local/bin may hold something else called convert; insist on ImageMagick.
IM="${IM_CONVERT:-/usr/bin/convert}"
if ! "$IM" -version 2>/dev/null | grep -q ImageMagick; then
    echo "make-images.sh: ImageMagick convert not found at $IM" >&2
    exit 1
fi
for f in "$FONT_BOLD" "$FONT_REGULAR"; do
    [[ -f "$f" ]] || { echo "make-images.sh: missing font $f" >&2; exit 1; }
done
mkdir -p "$OUT"

# Program colours.
SLATE='#2c3e50'
LIGHT='#ecf0f1'
MID='#bdc3c7'
BLUE='#3498db'
GREEN='#2ecc71'
RED='#e74c3c'
AMBER='#f39c12'
WHITE='#ffffff'

# Shapes are drawn SS times larger and averaged down, which gives clean
# anti-aliased edges at icon sizes.
SS=8

# Keep the files byte-stable across runs (no timestamps or tool comments).
STABLE=(-strip -define png:exclude-chunks=date,time,tIME)

# icon W H FILE MVG: MVG uses nominal pixel coordinates of a W x H icon.
icon() {
    local w=$1 h=$2 file=$3 mvg=$4
    "$IM" -size "$((w * SS))x$((h * SS))" xc:none \
        -draw "scale $SS,$SS $mvg" \
        -filter box -resize "${w}x${h}!" \
        "${STABLE[@]}" "PNG32:$OUT/$file"
}

# Outline of a gear centred at (CX,CY), as an MVG path with a round hole;
# evenodd filling leaves the hole transparent.
gear_path() {
    awk -v cx="$1" -v cy="$2" -v ro="$3" -v rr="$4" -v rh="$5" -v n="$6" 'BEGIN {
        pi = atan2(0, -1); d = pi / 180; step = 360 / n
        p = ""
        for (i = 0; i < n; i++) {
            c = i * step - 90
            split((c - step * 0.36) " " (c - step * 0.22) " " (c + step * 0.22) " " (c + step * 0.36), a, " ")
            r[1] = rr; r[2] = ro; r[3] = ro; r[4] = rr
            for (k = 1; k <= 4; k++) {
                x = cx + r[k] * cos(a[k] * d); y = cy + r[k] * sin(a[k] * d)
                p = p sprintf("%s %.3f,%.3f ", (p == "" ? "M" : "L"), x, y)
            }
        }
        p = p "Z "
        p = p sprintf("M %.3f,%.3f A %.3f,%.3f 0 1,0 %.3f,%.3f A %.3f,%.3f 0 1,0 %.3f,%.3f Z",
                      cx + rh, cy, rh, rh, cx - rh, cy, rh, rh, cx + rh, cy)
        print p
    }'
}

# --- Toolbar logo: an equaliser mark and the word, dark slate -------------
# Drawn once at 4x the large size and averaged down to both sizes.
logo() {
    local big="$OUT/.logo-big.png"
    local W=1920 H=352
    local bars="" x=24 i hgt
    # Five bars, blue and slate, standing on the text baseline; the tallest reaches cap height.
    local heights=(100 180 230 140 200)
    for i in 0 1 2 3 4; do
        hgt=${heights[$i]}
        local col=$BLUE
        ((i % 2 == 1)) && col=$SLATE
        bars+="fill '$col' roundrectangle $x,$((290 - hgt)) $((x + 40)),290 12,12 "
        x=$((x + 56))
    done
    "$IM" -size "${W}x${H}" xc:none \
        -draw "$bars" \
        -font "$FONT_BOLD" -pointsize 300 -fill "$SLATE" \
        -gravity west -annotate +330+8 'Sonvel' \
        "PNG32:$big"
    "$IM" "$big" -filter box -resize '480x88!' "${STABLE[@]}" "PNG32:$OUT/logo_480X88.png"
    "$IM" "$big" -filter box -resize '240x44!' "${STABLE[@]}" "PNG32:$OUT/logo_240X44.png"
    rm -f "$big"
}
logo

# --- Search magnifier -----------------------------------------------------
SEARCH_MVG="fill none stroke '#566573' stroke-width 1.6 stroke-linecap round
    circle 6.5,6.5 6.5,2.1
    stroke-width 2.2 line 9.9,9.9 14,14"
icon 16 16 search.png "$SEARCH_MVG"
# The 2x variant is drawn in its own grid so strokes stay crisp.
icon 32 32 search@2x.png "fill none stroke '#566573' stroke-width 3 stroke-linecap round
    circle 13,13 13,4.2
    stroke-width 4.2 line 19.8,19.8 28,28"

# --- Toolbar buttons: plus, minus, gear ------------------------------------
icon 32 32 plus.png "fill none stroke '$SLATE' stroke-width 4 stroke-linecap round
    line 16,6 16,26 line 6,16 26,16"
icon 32 32 minus.png "fill none stroke '$SLATE' stroke-width 4 stroke-linecap round
    line 6,16 26,16"
icon 32 32 setting.png "fill '$SLATE' stroke none fill-rule evenodd
    path '$(gear_path 16 16 14.5 10.5 4.6 8)'"

# --- Check-box indicators (18x18) -----------------------------------------
icon 18 18 chk.png "fill '$BLUE' stroke none roundrectangle 0,0 18,18 3,3
    fill none stroke '$WHITE' stroke-width 2.2 stroke-linecap round stroke-linejoin round
    polyline 4.5,9.3 7.7,12.5 13.5,5.8"
icon 18 18 unchk.png "fill '$WHITE' stroke '$MID' stroke-width 1
    roundrectangle 0.5,0.5 17.5,17.5 2.5,2.5"

# --- Notification icons (24x24), on the dark teal panel -------------------
icon 24 24 success-icon.png "fill '$GREEN' stroke none circle 12,12 12,1
    fill none stroke '$WHITE' stroke-width 2.6 stroke-linecap round stroke-linejoin round
    polyline 6.8,12.4 10.4,16 17.2,8.4"
icon 24 24 error.png "fill '$RED' stroke none circle 12,12 12,1
    fill none stroke '$WHITE' stroke-width 2.6 stroke-linecap round
    line 8,8 16,16 line 16,8 8,16"
# Triangle with rounded corners: a filled polygon plus a round-joined stroke.
# The "!" strokes are whole pixels wide on pixel boundaries so they stay sharp.
icon 24 24 warning.png "fill '$AMBER' stroke '$AMBER' stroke-width 2 stroke-linejoin round
    polygon 12,2.6 22.4,20.6 1.6,20.6
    fill none stroke '$SLATE' stroke-width 2 stroke-linecap round
    line 12,8.8 12,13.6
    fill '$SLATE' stroke none circle 12,17.1 12,15.8"
icon 24 24 info.png "fill '$WHITE' stroke none circle 12,12 12,1
    fill '$BLUE' circle 12,7.2 12,5.7
    fill none stroke '$BLUE' stroke-width 2 stroke-linecap round
    line 12,10.6 12,17.4"

# --- Warning of the confirmation dialog (32x32, white background) --------
icon 32 32 warning2.png "fill '$AMBER' stroke '$AMBER' stroke-width 2.6 stroke-linejoin round
    polygon 16,3.4 29.8,27.4 2.2,27.4
    fill none stroke '$SLATE' stroke-width 4 stroke-linecap round
    line 16,11.6 16,17.6
    fill '$SLATE' stroke none circle 16,22.6 16,20.6"

# --- Processing wheel: 12 dots, the bright one moving 30 degrees a frame ---
# GIF has only on/off transparency, so the dots sit on a light round badge
# whose anti-aliasing is against a known colour; only the badge rim is hard.
wheel() {
    local tmp frames=() k
    tmp="$(mktemp -d)"
    # Tail colours from the leading dot backwards: blue fading into slate greys.
    local cols=('#3498db' '#3a8ccb' '#4580ae' '#51758f' '#5d6d7e' '#74828f'
                '#8a969f' '#a0a9b0' '#b3bac0' '#c3c9cd' '#d1d6d9' '#dde1e3')
    for k in $(seq 0 11); do
        local mvg="fill '#fcfcfc' stroke '#e3e6e8' stroke-width 1 circle 32,32 32,0.5 stroke none "
        local mvgd
        mvgd="$(awk -v k="$k" -v cs="${cols[*]}" 'BEGIN {
            split(cs, c, " "); pi = atan2(0, -1)
            for (j = 0; j < 12; j++) {
                # Leading dot at k*30 degrees; the tail trails anticlockwise.
                a = (k * 30 - j * 30 - 90) * pi / 180
                x = 32 + 20 * cos(a); y = 32 + 20 * sin(a)
                r = 4.6 - j * 0.18
                printf "fill \x27%s\x27 circle %.3f,%.3f %.3f,%.3f ", c[j + 1], x, y, x + r, y
            }
        }')"
        "$IM" -size "$((64 * SS))x$((64 * SS))" xc:none \
            -draw "scale $SS,$SS $mvg $mvgd" \
            -filter box -resize '64x64!' \
            -channel A -threshold 50% +channel \
            "PNG32:$tmp/f$k.png"
        frames+=("$tmp/f$k.png")
    done
    "$IM" -dispose previous -delay 8 "${frames[@]}" -loop 0 \
        -strip "$OUT/processing-wheel.gif"
    rm -rf "$tmp"
}
wheel

# --- Cover placeholder (250x250 JPEG) --------------------------------------
cover() {
    local S=4 tmp
    tmp="$(mktemp -d)"
    # A disc with a note in front of it, drawn at 4x.
    "$IM" -size "$((250 * S))x$((250 * S))" xc:"$LIGHT" \
        -draw "scale $S,$S
            fill '$MID' stroke none circle 125,105 125,40
            fill none stroke '#d5dadd' stroke-width 1.5
            circle 125,105 125,52 circle 125,105 125,62 circle 125,105 125,72
            fill '$LIGHT' stroke '#a6acaf' stroke-width 2 circle 125,105 125,85
            fill '#a6acaf' stroke none circle 125,105 125,99
            fill '$SLATE' stroke none
            ellipse 152,140 11,8.5 0,360
            rectangle 160,76 165,140
            polygon 160,76 165,76 182,88 182,100 165,90" \
        -filter box -resize '250x250!' "PNG24:$tmp/base.png"
    "$IM" "$tmp/base.png" \
        -font "$FONT_REGULAR" -pointsize 24 -fill '#7f8c8d' \
        -gravity north -annotate +0+190 'No Cover' \
        -strip -quality 92 -sampling-factor 1x1 "$OUT/cover-image-not-found.jpg"
    rm -rf "$tmp"
}
cover

# --- Application icon: the equaliser mark on a slate tile ---------------
# For desktops and the window; 256 x 256.
app_icon() {
    local bars="" x=46 i hgt col
    local heights=(70 130 170 100 145)
    for i in 0 1 2 3 4; do
        hgt=${heights[$i]}
        col=$BLUE
        ((i % 2 == 1)) && col=$WHITE
        bars+="fill '$col' roundrectangle $x,$((206 - hgt)) $((x + 24)),206 7,7 "
        x=$((x + 34))
    done
    icon 256 256 sonvel.png "fill '$SLATE' roundrectangle 8,8 248,248 44,44 $bars"
}
app_icon

echo "Images written to $OUT"
