#!/usr/bin/env bash
# Runs the built program on a virtual X screen, saves a PNG of the whole
# screen after a delay, then stops the program.
# Usage: tools/screenshot.sh [output.png] [seconds]
#   defaults: screenshot.png, 3 seconds; SONVEL_BIN overrides build/sonvel,
#   SONVEL_ARGS gives it arguments (files and folders to add).
#   SONVEL_STEPS="xdotool arguments; ..." runs each step (1920x1080 screen)
#   one second apart after the delay, before the capture (needs xdotool), e.g.
#   SONVEL_STEPS="mousemove 465 237 click 1; type Venus; key Return"
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${1:-screenshot.png}"
SECS="${2:-3}"
BIN="${SONVEL_BIN:-$ROOT/build/sonvel}"

die() { echo "screenshot.sh: $*" >&2; exit 1; }

[[ "$SECS" =~ ^[0-9]+([.][0-9]+)?$ ]] || die "seconds must be a number, got '$SECS'"
[[ -f "$BIN" && -x "$BIN" ]] || die "program not found or not executable: $BIN (build it first, or set SONVEL_BIN)"
command -v xvfb-run >/dev/null || die "xvfb-run is missing (apt-get install xvfb xauth)"
# /usr/local/bin may shadow ImageMagick tools; use the packaged one.
IMPORT=/usr/bin/import
[[ -x "$IMPORT" ]] || die "ImageMagick import is missing (apt-get install imagemagick)"

STEPS="${SONVEL_STEPS:-}"
if [[ -n "$STEPS" ]]; then
    command -v xdotool >/dev/null || die "xdotool is missing (apt-get install xdotool)"
fi

# Absolute paths, so nothing depends on the directory the X session runs in.
[[ "$OUT" == /* ]] || OUT="$PWD/$OUT"
[[ "$BIN" == /* ]] || BIN="$PWD/$BIN"
mkdir -p "$(dirname "$OUT")"
rm -f "$OUT"

# Runs inside the X session: $1 program, $2 seconds, $3 output, $4 import,
# $5 xdotool steps, then the program's arguments.
INNER='
bin=$1 secs=$2 out=$3 import=$4 steps=$5
shift 5
"$bin" "$@" &
pid=$!
sleep "$secs"
IFS=";" read -ra list <<< "$steps"
for step in "${list[@]}"; do
    [[ -n "${step// /}" ]] || continue
    eval "xdotool $step" || echo "screenshot.sh: step failed: $step" >&2
    sleep 1
done
if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" && rc=0 || rc=$?
    echo "screenshot.sh: program exited early with status $rc" >&2
    "$import" -window root "$out" || true
    exit 1
fi
"$import" -window root "$out"
shot=$?
kill "$pid" 2>/dev/null || true
# Give it a moment to quit cleanly before forcing it.
for _ in 1 2 3 4 5 6 7 8 9 10; do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
kill -9 "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
exit $shot
'

# An inherited QT_QPA_PLATFORM=offscreen would keep the window off the screen.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1920x1080x24" \
    bash -c "$INNER" screenshot-session "$BIN" "$SECS" "$OUT" "$IMPORT" "$STEPS" ${SONVEL_ARGS:-} \
    || die "capture failed"

[[ -s "$OUT" ]] || die "no screenshot written"
echo "$OUT"
