#!/usr/bin/env bash
# Starts the application from the release build until Ctrl-C: with the desktop's clipboard and
# dialogs when a display is present, else windowless.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "quilla: display found, starting build/bin/quilla (Ctrl-C to quit)"
  exec build/bin/quilla "$@"
fi
echo "quilla: no display, starting build/bin/quilla --headless (Ctrl-C to quit)"
exec build/bin/quilla --headless "$@"
