#!/usr/bin/env bash
# A path copied by the application in a Wayland session reaches Wayland clients: a headless
# weston with XWayland, a session bus of this test's own, `quilla --headless` started as a
# Wayland session starts it (WAYLAND_DISPLAY and DISPLAY set, no QT_QPA_PLATFORM), a queued
# copyFullPath from `quilla-finder click`, and wl-paste, a Wayland client, reading the clipboard.
# Skipped (exit 77, with the reason) where weston, Xwayland or wl-paste is missing or the
# compositor offers no seat.
# usage: wayland_clipboard_e2e.sh QUILLA QUILLA_FINDER
set -euo pipefail

quilla=$1
finder=$2
source "$(dirname "$0")/../../../tests/support/e2e.sh"

for program in weston Xwayland wl-paste dbus-run-session; do
  command -v "$program" >/dev/null || skip "$program is not installed"
done

if [ "${QUILLA_E2E_INNER:-}" != 1 ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/quilla-wayland-XXXXXX")
  weston_pid=""
  cleanup() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
    rm -rf "$work"
  }
  trap cleanup EXIT
  private_home "$work"
  unset QT_QPA_PLATFORM DISPLAY DBUS_SESSION_BUS_ADDRESS
  weston --backend=headless-backend.so --xwayland --socket=wayland-quilla --idle-time=0 >"$work/weston.log" 2>&1 &
  weston_pid=$!
  wait_for 20 grep -q 'xserver listening on display' "$work/weston.log" || { cat "$work/weston.log" >&2; skip "weston started no XWayland"; }
  export WAYLAND_DISPLAY=wayland-quilla XDG_SESSION_TYPE=wayland
  DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | head -n1)
  export DISPLAY
  if ! timeout 5 wl-paste --list-types >"$work/probe.out" 2>&1 && grep -qi 'seat' "$work/probe.out"; then
    skip "the headless compositor offers no seat: $(cat "$work/probe.out")"
  fi
  QUILLA_E2E_INNER=1 QUILLA_E2E_WORK=$work dbus-run-session -- "$0" "$@"
  exit $?
fi

work=$QUILLA_E2E_WORK
"$quilla" --headless >"$work/quilla.out" 2>&1 &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT
owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:app.kelvarin.Quilla 2>/dev/null | grep -q 'boolean true'
}
wait_for 30 owned || { cat "$work/quilla.out" >&2; fail "quilla did not take its bus name"; }
grep -q "running on X11 through XWayland" "$XDG_STATE_HOME/quilla/quilla-app-action.log" || fail "no log line saying the application runs on XWayland"

file="$work/files/一个 文件.txt"
mkdir -p "$(dirname "$file")" && : >"$file"
"$finder" click "复制名称与路径 > 复制完整路径" --selected "$file" >"$work/finder.out" 2>&1 \
  || { cat "$work/finder.out" >&2; fail "quilla-finder click failed"; }
pasted() { [ "$(timeout 5 wl-paste --no-newline 2>/dev/null)" = "$file" ]; }
wait_for 15 pasted || fail "wl-paste read '$(timeout 5 wl-paste 2>&1)' instead of the path"
echo "-- a Wayland client read the copied path"
