#!/usr/bin/env bash
# Starts the installed application until Ctrl-C: the normal application (window and tray, one
# instance: a second start hands over to the running one) when a display is present, else
# windowless with a hint on how to see the menu.
# usage: run-main.sh [PREFIX] [ARGS...]
set -euo pipefail
prefix=${1:-/usr/local}
[ $# -gt 0 ] && shift
quilla=$prefix/bin/quilla
[ -x "$quilla" ] || { echo "run-main.sh: $quilla is not installed (run 'make run')" >&2; exit 1; }
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "quilla: starting $quilla (Ctrl-C to quit; when Quilla already runs, this start hands over to it and returns); right-click a file in Files to see its menu"
  exec "$quilla" "$@"
fi
echo "quilla: no display, so $quilla --headless runs (Ctrl-C to quit); to see the menu, log in to a desktop session and run 'make run' there, or right-click a file in Files (the application then starts by itself)"
exec "$quilla" --headless "$@"
