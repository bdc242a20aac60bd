#!/usr/bin/env bash
# From installation to a right-click in the real Files. Builds the release build and installs it
# the way `make run` does (scripts/install.sh: the module into Files' own extension folder, the
# rest into a throwaway prefix), starts Files under Xvfb on a session bus that knows only the
# installed D-Bus service, right-clicks a file with xdotool and reads the module's work: its
# initialisation on Files' standard error and the menu it built in FinderExtension.log (a
# screenshot of the open menu is kept as SCREENSHOT). Then uninstalls and checks that nothing of
# the manifest is left. A module already in Files' folder (an earlier `make run`) is put back.
# Needs root, Files, xdotool and Xvfb; skipped (77) with the reason otherwise.
# usage: nautilus_menu_e2e.sh SOURCE_DIR SCREENSHOT
set -euo pipefail
source_dir=$1 screenshot=$2

source "$(dirname "$0")/../../tests/support/e2e.sh"

[ "$(id -u)" -eq 0 ] || skip "needs root: Files loads modules only from its system extension folder"
for tool in nautilus xdotool Xvfb dbus-daemon import pkg-config; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
extension_dir=$(pkg-config --variable=extensiondir libnautilus-extension-4) || skip "no libnautilus-extension-4"
module=$extension_dir/libquilla-nautilus.so
if dpkg-query -S "$module" >/dev/null 2>&1; then
  skip "the Debian package quilla owns $module; this test does not replace an installed package"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quilla-nautilus-XXXXXX")
export QUILLA_TEST_WORK=$work
source "$(dirname "$0")/machine_state.sh"
prefix=$work/prefix
installed=no
cleanup() {
  set +e
  end_processes_of_this_test
  if [ "$installed" = yes ]; then
    "$source_dir/scripts/install.sh" uninstall --prefix "$prefix" --no-restart >/dev/null
  fi
  restore_files
  rm -rf "$work"
}
trap cleanup EXIT
preserve_files "$module"

note "build and install as make run does"
(cd "$source_dir" && cmake --preset default && cmake --build --preset default -j "$(nproc)") >"$work/build.log" 2>&1 \
  || { tail -50 "$work/build.log" >&2; fail "the optimised build failed"; }
installed=yes
"$source_dir/scripts/install.sh" install --build "$source_dir/build" --prefix "$prefix" --no-restart \
  >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; fail "install failed"; }
[ -f "$module" ] || fail "the module is not in Files' extension folder"
cmp -s "$module" "$source_dir/build/lib/libquilla-nautilus.so" || fail "the installed module is not this build's"
[ -f "$prefix/share/dbus-1/services/app.kelvarin.Quilla.service" ] || fail "no D-Bus service file"
[ -f "$prefix/share/applications/app.kelvarin.Quilla.desktop" ] || fail "no desktop entry"

note "Files under Xvfb, right-click on a file"
private_home "$work"
mkdir -p "$work/files"
file="$work/files/a file.txt"
echo hello >"$file"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
start_xvfb "$work" 1280x800

# A bus of this test's own whose only service is the installed one; Files then runs without the
# desktop's helpers (virtual file systems, search indexer, settings daemon). The policy is the
# standard session bus's: with less, the bus withholds its own signals from Files, which then
# waits 25 s for the bus and opens no context menu.
cat >"$work/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$work/runtime/bus</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$prefix/share/dbus-1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
export GIO_USE_VFS=local GSETTINGS_BACKEND=memory GSK_RENDERER=cairo GDK_BACKEND=x11 NO_AT_BRIDGE=1 \
  G_MESSAGES_DEBUG=app.kelvarin.Quilla.FinderExtension
log=$XDG_CONFIG_HOME/quilla/finder-extension/FinderExtension.log
menu_line="selected=[\"$file\"] target=$work/files "

visible_windows() { xdotool search --onlyvisible --class nautilus 2>/dev/null | wc -l; }
# right_click: selects the file (the first icon of the grid at Files' default size) and
# right-clicks it. Files asks the module for the selection's items when the selection changes;
# the context menu is a window of its own beside Files' one.
right_click() {
  local window
  window=$(xdotool search --onlyvisible --class nautilus 2>/dev/null | head -n1) || return 1
  [ -n "$window" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool key Escape mousemove $((X + 337)) $((Y + 125)) click 1
  wait_for 3 grep -qF -- "$menu_line" "$log" 2>/dev/null || return 1
  xdotool click 3
  wait_for 3 test "$(visible_windows)" -ge 2
}

dbus-run-session --config-file="$work/session.conf" -- bash -c '
  nautilus --new-window "$1" >"$2/nautilus.log" 2>&1 &
  echo $! >"$2/nautilus.pid"
  wait' _ "$work/files" "$work" &
session=$!
wait_for 60 bash -c "xdotool search --onlyvisible --class nautilus >/dev/null 2>&1" \
  || { cat "$work/nautilus.log" >&2; fail "Files did not open a window"; }
wait_for 60 right_click || { cat "$work/nautilus.log" >&2; cat "$log" >&2 2>/dev/null; fail "no Quilla menu for the right-click"; }
sleep 1
import -window root "$screenshot" 2>/dev/null || true
note "screenshot of the menu: $screenshot"

grep -qF "FinderSync refreshed directories. reason=started" "$work/nautilus.log" \
  || { cat "$work/nautilus.log" >&2; fail "the module's initialisation is not in Files' log"; }
grep -A12 -F -- "$menu_line" "$log" | grep -qE '^\[.*\] menu (grouped under Quilla topLevel=1 submenuItems=[1-9]|topLevel=[1-9])' \
  || { cat "$log" >&2; fail "the module built no items for the file"; }

note "the installed D-Bus service starts the installed application, as a click in the menu does"
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/runtime/bus
gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
  --method org.freedesktop.DBus.StartServiceByName app.kelvarin.Quilla 0 >"$work/activation.log" 2>&1 \
  || { cat "$work/activation.log" >&2; fail "the bus could not start app.kelvarin.Quilla"; }
app_pid=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
  --method org.freedesktop.DBus.GetConnectionUnixProcessID app.kelvarin.Quilla | sed -n 's/^(uint32 \([0-9]*\),)$/\1/p')
# The service starts bin/quilla, which becomes the application in lib/quilla/.
[ -n "$app_pid" ] && [ "$(readlink "/proc/$app_pid/exe")" = "$prefix/lib/quilla/quilla" ] \
  || fail "app.kelvarin.Quilla is not the installed $prefix/lib/quilla/quilla (pid '$app_pid')"
kill "$(cat "$work/nautilus.pid")" 2>/dev/null || true
wait "$session" 2>/dev/null || true

note "uninstall leaves nothing of the manifest"
cp "$prefix/share/quilla/install-manifest.txt" "$work/manifest"
installed=no
"$source_dir/scripts/install.sh" uninstall --prefix "$prefix" --no-restart >"$work/uninstall.log" 2>&1 \
  || { cat "$work/uninstall.log" >&2; fail "uninstall failed"; }
while read -r path; do
  [ ! -e "$path" ] || fail "left behind: $path"
done <"$work/manifest"
note "all cases passed"
