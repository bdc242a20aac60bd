#!/usr/bin/env bash
# Runs every test under a private session bus, so D-Bus code meets a real bus and
# never the developer's own session.
set -euo pipefail
cd "$(dirname "$0")/.."
exec dbus-run-session -- ctest --preset test -j "$(nproc)" "$@"
