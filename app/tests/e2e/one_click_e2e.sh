#!/usr/bin/env bash
# One click from the file-manager extension to the clipboard, with the real pieces: an Xvfb
# display, a session bus of this test's own (so the application's bus name never meets another
# test's), `quilla --headless` with the display's clipboard, `quilla-finder click` and xclip as
# an independent clipboard reader. Cases:
#   1. the application runs: the click is carried out, the queue file is gone, the log holds the
#      runner's lines; a second start hands over and exits 0; SIGTERM ends it cleanly;
#   2. the application is not running and cannot be started: the queued file waits and is carried
#      out when the application starts;
#   3. the application is not running but installed: the session bus starts it from its service
#      file and the click is carried out.
# usage: one_click_e2e.sh QUILLA QUILLA_FINDER SERVICE_FILE
set -euo pipefail

quilla=$1
finder=$2
service_template=$3

source "$(dirname "$0")/../../../tests/support/e2e.sh"

if [ "${1:-}" != --inner ] && [ -z "${QUILLA_E2E_WORK:-}" ]; then
  # Outer part: a throwaway home, the display and the bus configuration; the cases run inside
  # dbus-run-session, whose daemon passes this environment to the services it starts.
  work=$(mktemp -d "${TMPDIR:-/tmp}/quilla-e2e-XXXXXX")
  xvfb_pid=""
  cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
  }
  trap cleanup EXIT
  private_home "$work"
  mkdir -p "$work/services"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
  start_xvfb "$work" 1024x768
  note "Xvfb on $DISPLAY"

  cat >"$work/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$work/runtime</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$work/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
  QUILLA_E2E_WORK=$work dbus-run-session --config-file="$work/session.conf" -- "$0" --inner "$@"
  exit $?
fi

[ "$1" = --inner ] && shift && quilla=$1 finder=$2 service_template=$3
work=$QUILLA_E2E_WORK
log=$XDG_STATE_HOME/quilla/quilla-app-action.log
queue=$XDG_CONFIG_HOME/quilla/finder-extension/ActionQueue
app_pids=()

stop_app() { # stop_app PID: SIGTERM, and the exit status must be 0
  kill -TERM "$1"
  local status=0
  wait "$1" || status=$?
  [ "$status" -eq 0 ] || fail "quilla exited with $status after SIGTERM"
}
cleanup_inner() {
  for pid in "${app_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  # An application the bus started is ours too.
  local activated
  activated=$(bus_owner_pid) && kill "$activated" 2>/dev/null || true
}
trap cleanup_inner EXIT

bus_has_owner() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:app.kelvarin.Quilla 2>/dev/null | grep -q 'boolean true'
}
bus_has_no_owner() { ! bus_has_owner; }
bus_owner_pid() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetConnectionUnixProcessID \
    string:app.kelvarin.Quilla 2>/dev/null | awk '/uint32/ {print $2}' | grep .
}
log_has() { grep -qF -- "$1" "$log" 2>/dev/null; }
log_count() { grep -cF -- "$1" "$log" 2>/dev/null || true; }
queue_is_empty() { [ -z "$(ls -A "$queue" 2>/dev/null)" ]; }
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

start_app() { # start_app ARGS...: starts quilla in the background and waits until it owns its name
  "$quilla" "$@" >>"$work/quilla.out" 2>&1 &
  app_pids+=("$!")
  wait_for 30 bus_has_owner || { cat "$work/quilla.out" >&2; fail "quilla did not take its bus name"; }
}

click_copy_full_path() { # click_copy_full_path PATH...: the menu item, as the file manager hands it over
  local args=()
  for p in "$@"; do args+=(--selected "$p"); done
  "$finder" click "复制名称与路径 > 复制完整路径" "${args[@]}" >>"$work/finder.out" 2>&1 \
    || { cat "$work/finder.out" >&2; fail "quilla-finder click failed"; }
}

files=$work/files
mkdir -p "$files/文件夹 one"
printf a >"$files/a file.txt"
a="$files/a file.txt"
b="$files/文件夹 one"

note "case 1: the application runs"
start_app --headless
pid=${app_pids[-1]}
wait_for 10 log_has "app launched" || fail "no 'app launched' line"
log_has "QuillaApp init" || fail "no 'QuillaApp init' line"
click_copy_full_path "$a" "$b"
wait_for 10 log_has "app delegate queued action succeeded: copyFullPath" || { cat "$log" >&2; fail "the click was not carried out"; }
clipboard_is "$a"$'\n'"$b" || fail "clipboard holds '$(xclip -o -selection clipboard 2>&1)'"
wait_for 5 queue_is_empty || fail "queue not empty: $(ls -A "$queue")"
log_has "queue drain found 1 files" || fail "no drain line"
log_has "app delegate queued action=copyFullPath selected=[\"$a\", \"$b\"] target=" || fail "no action line"
grep -qE "app delegate queued action=copyFullPath .* file=$queue/[0-9A-F-]+\.processing$" "$log" || fail "action line names no claim file"

"$quilla" --headless >>"$work/quilla.out" 2>&1 || fail "a second start did not hand over and exit 0"
[ "$(log_count 'QuillaApp init')" -eq 1 ] || fail "the second start initialised a second application"
kill -0 "$pid" || fail "the first instance died"
stop_app "$pid"
wait_for 10 bus_has_no_owner || fail "the bus name outlived the application"

note "case 2: the application is not running"
: >"$log"
click_copy_full_path "$b"
sleep 1.5
compgen -G "$queue/*.json" >/dev/null || fail "the click left no queued file"
log_has "app delegate queued action" && fail "something ran the action without the application"
start_app --headless
pid=${app_pids[-1]}
wait_for 10 log_has "app delegate queued action succeeded: copyFullPath" || { cat "$log" >&2; fail "the waiting file was not carried out"; }
clipboard_is "$b" || fail "clipboard holds '$(xclip -o -selection clipboard 2>&1)'"
wait_for 5 queue_is_empty || fail "queue not empty after start: $(ls -A "$queue")"
[ "$(grep -nF 'QuillaApp init' "$log" | cut -d: -f1)" -lt "$(grep -nF 'queue drain found' "$log" | head -n1 | cut -d: -f1)" ] \
  || fail "drained before the application was initialised"
stop_app "$pid"

note "case 3: the session bus starts the application from its service file"
: >"$log"
sed "s|^Exec=/usr/bin/quilla|Exec=$quilla|" "$service_template" >"$work/services/app.kelvarin.Quilla.service"
grep -q "^Exec=$quilla " "$work/services/app.kelvarin.Quilla.service" || fail "service file has no Exec line to adapt"
click_copy_full_path "$a"
wait_for 30 log_has "app delegate queued action succeeded: copyFullPath" || { cat "$log" >&2; fail "the started application did not carry out the click"; }
clipboard_is "$a" || fail "clipboard holds '$(xclip -o -selection clipboard 2>&1)'"
activated=$(bus_owner_pid) || fail "no application owns the bus name"
kill -TERM "$activated"
wait_for 15 bash -c "! kill -0 $activated 2>/dev/null" || fail "the started application ignored SIGTERM"

note "all cases passed"
