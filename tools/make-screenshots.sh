#!/usr/bin/env bash
# Remakes the README's pictures in docs/images/ from the real program on a
# virtual screen: a made-up album of twelve tracks (no personal music), the
# main window, the Keys & BPM panel and the settings dialog.
# Usage: bash tools/make-screenshots.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
EXTRA_PACKAGES="xvfb xauth xdotool imagemagick lame sox python3-mutagen" source "$ROOT/tools/setup.sh"

OUT="$ROOT/docs/images"
LIBRARY="$(mktemp -d)"
CONFIG="$(mktemp -d)"
trap 'rm -rf "$LIBRARY" "$CONFIG"' EXIT
mkdir -p "$OUT"

sox -n -r 44100 -c 2 "$LIBRARY/tone.wav" synth 2 sine 220 2>/dev/null
lame --quiet "$LIBRARY/tone.wav" "$LIBRARY/tone.mp3"
/usr/bin/convert -seed 7 -size 500x500 plasma:orange-navy "$LIBRARY/cover.jpg"
/usr/bin/python3 - "$LIBRARY" <<'PY'
import shutil, sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TDRC, TRCK, TCON, TBPM, TKEY, TPUB, APIC
folder = sys.argv[1]
cover = open(f"{folder}/cover.jpg", "rb").read()
tracks = [
    ("Night Drive", "Ana Ruiz", "124", "8A"), ("Harbour Lights", "Ana Ruiz", "122", "Am"),
    ("Slow Motion", "K. O'Neil", "118", "1m"), ("Pulse", "DJ Mira", "128", "G#m"),
    ("Été", "Lumen", "126", "3B"), ("Afterglow", "Lumen", "120,5", "Db"),
    ("Echo Chamber", "UK Sound", "130", "9A"), ("Zenith", "Nord", "132", "Em"),
    ("Deep Water", "Rio", "64", "F#m"), ("Outro", "Rio", "", "Intro"),
    ("Sunrise Edit", "Mc Flow", "125", "11B"), ("Last Call", "Nord", "127", "A"),
]
for number, (title, artist, bpm, key) in enumerate(tracks, 1):
    path = f"{folder}/{number:02d} {title}.mp3"
    shutil.copy(f"{folder}/tone.mp3", path)
    tag = ID3()
    for frame in (TIT2(encoding=3, text=title), TPE1(encoding=3, text=artist),
                  TALB(encoding=3, text="Late Hours"), TDRC(encoding=3, text="2026"),
                  TRCK(encoding=3, text=f"{number}/12"), TCON(encoding=3, text="Deep House"),
                  TKEY(encoding=3, text=key), TPUB(encoding=3, text="Nightshift Records")):
        tag.add(frame)
    if bpm:
        tag.add(TBPM(encoding=3, text=bpm))
    if number % 3:
        tag.add(APIC(encoding=0, mime="image/jpeg", type=3, desc="", data=cover))
    tag.save(path)
PY
rm "$LIBRARY"/tone.* "$LIBRARY/cover.jpg"

# The program's own settings stay out of it: a fresh configuration folder.
shoot() {
    rm -rf "${CONFIG:?}"/*
    XDG_CONFIG_HOME="$CONFIG" SONVEL_ARGS="$LIBRARY" SONVEL_STEPS="$2" \
        bash "$ROOT/tools/screenshot.sh" "$OUT/$1.png" 5 >/dev/null
    # The window only, without the empty screen around it.
    /usr/bin/convert "$OUT/$1.png" -crop 1728x864+96+108 +repage "$OUT/$1.png"
}
shoot main-window "mousemove 300 363 click 1; keydown shift; mousemove 300 456 click 1; keyup shift; key ctrl+e"
shoot operation-panel "mousemove 1714 237 click 1"
shoot settings "mousemove 1796 185 click 1; mousemove 704 426 click 1"
echo "Pictures in $OUT"
