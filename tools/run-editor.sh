#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/tools/setup.sh"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display found: the editor needs a desktop session (tools/screenshot.sh shows it on a virtual screen)." >&2
fi
exec "$BUILD_DIR/sonvel" "$@"
