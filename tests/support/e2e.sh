# Sourced by the end-to-end scripts: failing and waiting, a private home, an X server of their own.
# A script that wants more from `fail` (a log to show) defines its own after sourcing this file.

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }
skip() { echo "SKIP: $*"; exit 77; }

# wait_for SECONDS COMMAND...: retries COMMAND every 0.1 s until it succeeds; false after SECONDS.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# private_home ROOT: HOME, every XDG_* folder and TMPDIR below ROOT, created (the runtime folder
# private to the user), so nothing the test does reaches the developer's own settings.
private_home() {
  export HOME=$1/home XDG_CONFIG_HOME=$1/config XDG_DATA_HOME=$1/data XDG_STATE_HOME=$1/state \
         XDG_CACHE_HOME=$1/cache XDG_RUNTIME_DIR=$1/runtime TMPDIR=$1/tmp
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_CACHE_HOME" "$TMPDIR"
  mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
}

# start_xvfb WORK WIDTHxHEIGHT: an X server on a display number it picks itself (it writes the
# number to fd 3 once it accepts clients); exports DISPLAY, sets xvfb_pid for the caller to end.
start_xvfb() {
  Xvfb -displayfd 3 -nolisten tcp -screen 0 "$2x24" 3>"$1/display" 2>"$1/xvfb.log" &
  xvfb_pid=$!
  wait_for 20 test -s "$1/display" || { cat "$1/xvfb.log" >&2; fail "Xvfb did not start"; }
  export DISPLAY=":$(head -n1 "$1/display")"
}
