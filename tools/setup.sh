#!/usr/bin/env bash
# Installs what the build and the tests need (only what is missing), then
# configures and builds into build/. Sourced by run-editor.sh and run-tests.sh.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${SONVEL_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
    g++ make cmake pkg-config
    qtbase5-dev qtbase5-dev-tools
    libtag1-dev
    libssl-dev
    # Glyphs for Chinese and Japanese tags in the program's typeface, and for
    # Korean ones (which that typeface lacks).
    fonts-droid-fallback fonts-nanum
    ${EXTRA_PACKAGES:-}
)

missing=()
for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=600 update -q
    apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi

cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD_DIR" -j2
