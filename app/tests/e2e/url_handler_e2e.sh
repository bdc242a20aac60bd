#!/bin/bash
# End to end: the desktop entry makes quilla the handler of quilla:// URLs; opening one reaches the
# running instance over the single-instance channel, repeats within a second run once, and an
# action that changes files runs only after consent.
# Usage: url_handler_e2e.sh QUILLA_BINARY DESKTOP_ENTRY   (starts its own X server and bus)
set -euo pipefail

if [[ -z "${QUILLA_URL_TEST_BUS:-}" ]]; then
    QUILLA_URL_TEST_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

source "$(dirname "$0")/../../../tests/support/e2e.sh"
quilla_binary=$(realpath "$1")
desktop_entry=$(realpath "$2")
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
    echo "--- log:" >&2
    cat "$log" >&2 2>/dev/null || true
    exit 1
}

# A private home: the desktop entry lives in XDG_DATA_HOME, `quilla` on PATH as its Exec says.
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
export XDG_CACHE_HOME="$work/home/.cache" XDG_STATE_HOME="$work/home/.local/state"
export XDG_DATA_DIRS=/usr/share XDG_CONFIG_DIRS=/etc/xdg XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$work/runtime"
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME" "$work/bin" "$HOME/Desktop" "$work/files"
cp "$desktop_entry" "$XDG_DATA_HOME/applications/"
# As an install does: the desktop reads scheme handlers from the folder's MIME cache.
update-desktop-database "$XDG_DATA_HOME/applications"
ln -s "$quilla_binary" "$work/bin/quilla"
export PATH="$work/bin:$PATH"
log="$XDG_STATE_HOME/quilla/quilla-app-action.log"

start_xvfb "$work" 1024x768
pids+=("$xvfb_pid")
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

count() { grep -c -- "$1" "$log" 2>/dev/null || true; }
wait_for_lines() { # PATTERN COUNT
    for _ in $(seq 150); do [[ $(count "$1") -ge $2 ]] && return 0; sleep 0.1; done
    fail "expected $2 log lines with '$1'"
}
hand_over() { # the channel a second `quilla URL` uses
    gdbus call --session --dest app.kelvarin.Quilla --object-path /app/kelvarin/Quilla \
        --method org.freedesktop.Application.Open "['$1']" '{}' >/dev/null
}
start_owner() { # ARGS...
    quilla "$@" >>"$work/quilla.out" 2>&1 &
    owner=$!
    pids+=($owner)
    for _ in $(seq 150); do
        gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
            --method org.freedesktop.DBus.NameHasOwner app.kelvarin.Quilla 2>/dev/null | grep -q true && return 0
        sleep 0.1
    done
    fail "quilla did not start: $(cat "$work/quilla.out")"
}
stop_owner() {
    kill "$owner"
    wait "$owner" || true
}

start_owner
file="$work/files/a b.txt"
: >"$file"
url="quilla://finder-action?actionID=copyFullPath&path=$(python3 -c 'import sys,urllib.parse;print(urllib.parse.quote(sys.argv[1]))' "$file")"

# The desktop's URL opener finds quilla through the desktop entry; that start hands over and exits.
gio open "$url"
wait_for_lines "action succeeded: copyFullPath" 1
clip=$(xclip -o -selection clipboard)
[[ "$clip" == "$file" ]] || fail "clipboard holds '$clip'"

# Twice within half a second: once. Again after 1.5 seconds: again.
sleep 1.1
hand_over "$url"
hand_over "$url"
wait_for_lines "action succeeded: copyFullPath" 2
sleep 1.5
hand_over "$url"
wait_for_lines "action succeeded: copyFullPath" 3
sleep 0.5
[[ $(count "action succeeded: copyFullPath") -eq 3 ]] || fail "a repeat within one second ran again"

# Moving files asks first; Escape (the default "取消") refuses and nothing moves.
move="quilla://finder-action?actionID=moveFilesToDesktop&path=$(python3 -c 'import urllib.parse,sys;print(urllib.parse.quote(sys.argv[1]))' "$file")"
hand_over "$move"
dialog=""
for _ in $(seq 100); do
    dialog=$(xdotool search --onlyvisible --name '^Quilla$' 2>/dev/null | head -n1 || true)
    [[ -n "$dialog" ]] && break
    sleep 0.1
done
[[ -n "$dialog" ]] || fail "no consent dialog"
[[ -e "$file" ]] || fail "moved before consent"
# No window manager here: focus the dialog by hand, then press the key as a user would.
timeout 5 xdotool windowfocus --sync "$dialog"
xdotool key Escape
wait_for_lines "url action refused by the user: moveFilesToDesktop" 1
[[ -e "$file" && ! -e "$HOME/Desktop/a b.txt" ]] || fail "moved although refused"
stop_owner

# Started without dialogs: refused and logged, nothing moves.
start_owner --headless
hand_over "$move"
wait_for_lines "url action refused, no dialog to confirm it: moveFilesToDesktop" 1
[[ -e "$file" && ! -e "$HOME/Desktop/a b.txt" ]] || fail "moved without consent"
stop_owner

# Nothing running: the URL starts the application, which handles it and stays.
gio open "${url}&action=fresh"
wait_for_lines "action succeeded: copyFullPath" 4
owner=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetConnectionUnixProcessID app.kelvarin.Quilla | sed -E 's/.*uint32 ([0-9]+).*/\1/')
[[ -n "$owner" ]] || fail "the started application does not own its name"
kill "$owner"
echo "url handler: ok"
