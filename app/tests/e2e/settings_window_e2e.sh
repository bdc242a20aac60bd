#!/bin/bash
# End to end: the settings window's life with the real application on an X server. A start at
# login keeps it hidden; a second `quilla` shows the running instance's window 10 px inside the
# top right of the screen and exits; a feature switched off in the settings file by another
# process reaches the running instance's store (it writes the extension's copy through).
# Usage: settings_window_e2e.sh QUILLA_BINARY   (starts its own X server and bus)
set -euo pipefail

if [[ -z "${QUILLA_WINDOW_TEST_BUS:-}" ]]; then
    QUILLA_WINDOW_TEST_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

source "$(dirname "$0")/../../../tests/support/e2e.sh"
quilla=$(realpath "$1")
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    cat "$work/quilla.out" >&2 2>/dev/null || true
    exit 1
}

export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
export XDG_CACHE_HOME="$work/home/.cache" XDG_STATE_HOME="$work/home/.local/state"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$work/runtime"
mkdir -p "$XDG_CONFIG_HOME"

start_xvfb "$work" 1280x800
pids+=("$xvfb_pid")
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

visible_window() { xdotool search --onlyvisible --name '^Quilla 设置$' 2>/dev/null | head -n1 || true; }
has_window() { [[ -n $(visible_window) ]]; }

"$quilla" --login-item >>"$work/quilla.out" 2>&1 &
owner=$!
pids+=($owner)
wait_for 15 gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner app.kelvarin.Quilla >/dev/null || fail "quilla did not start"
sleep 1
has_window && fail "a start at login showed the window"

# A second start hands a reopen to the running instance and exits.
timeout 20 "$quilla" >>"$work/quilla.out" 2>&1 || fail "the second quilla did not exit cleanly"
wait_for 10 has_window || fail "the second quilla did not show the window"
kill -0 "$owner" || fail "the running instance ended"
# No window manager here: the place is the one the application chose (the frame is the window).
sleep 0.5
geometry=$(xdotool getwindowgeometry --shell "$(visible_window)")
eval "$geometry"
[[ "$WIDTH" == 860 && "$HEIGHT" == 560 ]] || fail "size ${WIDTH}x${HEIGHT}"
[[ "$X" == $((1280 - 860 - 10)) && "$Y" == 10 ]] || fail "placed at $X,$Y"

# Another process switches a feature off in the application's copy; the running store adopts it
# and writes the extension's copy through, which is what the file manager reads.
app_copy="$XDG_CONFIG_HOME/quilla/FeatureSettings.plist"
extension_copy="$XDG_CONFIG_HOME/quilla/finder-extension/FeatureSettings.plist"
python3 - "$app_copy" <<'PY'
import os, plistlib, sys
path = sys.argv[1]
with open(path, 'rb') as f:
    d = plistlib.load(f)
d['enabledFeatureIDs'] = [i for i in d['enabledFeatureIDs'] if i != 'createFile']
with open(path + '.tmp', 'wb') as f:
    plistlib.dump(d, f)
os.replace(path + '.tmp', path)
PY
extension_dropped() {
    python3 -c "import plistlib,sys; sys.exit('createFile' in plistlib.load(open('$extension_copy','rb'))['enabledFeatureIDs'])"
}
wait_for 10 extension_dropped || fail "the running instance did not adopt the edited settings"
echo "settings window end to end: ok"
