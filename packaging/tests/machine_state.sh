# Sourced by the tests that install into the real system: they keep what was there before
# (an earlier `make run`, say) and put it back on the way out, whatever happened in between.
# preserve_files PATH...: copies each existing PATH below $work/preserved.
# restore_files: puts every preserved file back (a new inode, so running programs are unharmed).
# end_processes_of_this_test: ends the processes whose environment names $work (the test's own
# Files, bus services and display), by their ids.

preserved_files=()

preserve_files() {
  local path
  for path in "$@"; do
    if [ -e "$path" ] || [ -L "$path" ]; then
      mkdir -p "$work/preserved$(dirname "$path")"
      cp -a "$path" "$work/preserved$path"
      preserved_files+=("$path")
    fi
  done
}

restore_files() {
  local path
  for path in "${preserved_files[@]}"; do
    mkdir -p "$(dirname "$path")"
    cp -a "$work/preserved$path" "$path.quilla-restore" && mv -f "$path.quilla-restore" "$path"
  done
  preserved_files=()
}

end_processes_of_this_test() {
  local environ pid
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}; pid=${pid%/environ}
    [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] || continue
    if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "QUILLA_TEST_WORK=$work"; then
      kill "$pid" 2>/dev/null || true
    fi
  done
}
