#!/usr/bin/env bash
# Puts Quilla from a build folder in place, or takes it away again. Every file placed is listed in
# PREFIX/share/quilla/install-manifest.txt, which is what `uninstall` removes; the folders the
# install had to create are listed there too (with a trailing "/") and removed once empty. Files
# that belong to an installed Debian package (the quilla .deb shares the Files module's path) are
# never overwritten or removed here. Settings in the users' homes are never touched.
#
# usage: install.sh install   [--build DIR] [--prefix PREFIX] [--destdir DIR] [--no-restart]
#        install.sh uninstall [--prefix PREFIX] [--destdir DIR] [--no-restart]
# --destdir puts everything below DIR instead of / (staging and tests): the desktop's databases
# below DIR are refreshed, but Files is not restarted and no package ownership is consulted.
# --no-restart leaves a running Files alone (tests that must not disturb the user's desktop).
set -euo pipefail

usage() { sed -n '/^# usage:/,/^set /{/^set /d;s/^# \{0,1\}//p}' "$0" >&2; exit 2; }

command=${1:-}
[ $# -gt 0 ] && shift
build=build prefix=/usr/local destdir="" restart=yes
while [ $# -gt 0 ]; do
  case $1 in
    --no-restart) restart=no; shift ;;
    --build) build=$2; shift 2 ;;
    --prefix) prefix=${2%/}; shift 2 ;;
    --destdir) destdir=${2%/}; shift 2 ;;
    *) usage ;;
  esac
done
[[ $prefix == /* ]] || { echo "install.sh: --prefix must be an absolute path" >&2; exit 2; }
manifest=$prefix/share/quilla/install-manifest.txt

# Runs a command with the rights the target needs: as is for root or a staging folder, else sudo.
as_root() {
  if [ -n "$destdir" ] || [ "$(id -u)" -eq 0 ]; then
    "$@"
  else
    sudo "$@"
  fi
}

owned_by_package() { # owned_by_package PATH: true when a Debian package lists PATH
  [ -z "$destdir" ] && command -v dpkg-query >/dev/null && dpkg-query -S "$1" >/dev/null 2>&1
}

refresh_desktop_databases() {
  local apps=$destdir$prefix/share/applications icons=$destdir$prefix/share/icons/hicolor
  if [ -d "$apps" ] && command -v update-desktop-database >/dev/null; then
    as_root update-desktop-database -q "$apps" || true
  fi
  # Only a theme folder with its index has a cache; without one the desktop reads the folder.
  if [ -f "$icons/index.theme" ] && command -v gtk-update-icon-cache >/dev/null; then
    as_root gtk-update-icon-cache -q -f "$icons" || true
  fi
}

# Files loads modules only when it starts: ask every running Files to quit (it starts again on
# next use), each in its owner's session. A Files that could not be reached is named, not hidden.
# restart_files WHY: what the restart does, e.g. "loads the Quilla module".
restart_files() {
  [ -z "$destdir" ] && [ "$restart" = yes ] && command -v pgrep >/dev/null || return 0
  local uid
  for uid in $(pgrep -x nautilus | xargs -r -I{} stat -c %u /proc/{} 2>/dev/null | sort -u); do
    if quit_files_of "$uid"; then
      echo "Files was running: asked it to quit (nautilus -q); it $1 when it next opens."
    else
      echo "Files runs for $(id -nu "$uid" 2>/dev/null || echo "uid $uid") but could not be asked to quit: run 'nautilus -q' in that session so that it $1."
    fi
  done
}

quit_files_of() { # quit_files_of UID: nautilus -q on that user's session bus
  local bus=/run/user/$1/bus
  if [ "$1" = "$(id -u)" ] && [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    timeout 20 nautilus -q >/dev/null 2>&1
  elif [ "$1" = "$(id -u)" ] && [ -S "$bus" ]; then
    DBUS_SESSION_BUS_ADDRESS=unix:path=$bus timeout 20 nautilus -q >/dev/null 2>&1
  elif [ "$(id -u)" -eq 0 ] && [ -S "$bus" ]; then
    timeout 20 runuser -u "$(id -nu "$1")" -- env DBUS_SESSION_BUS_ADDRESS="unix:path=$bus" \
      nautilus -q >/dev/null 2>&1
  else
    return 1
  fi
}

remove_listed() { # remove_listed FILE...: removes each file that no package has taken over
  local path
  for path in "$@"; do
    if owned_by_package "$path"; then
      echo "  kept $path (now belongs to the Debian package: apt-get remove quilla)"
    elif [ -e "$destdir$path" ] || [ -L "$destdir$path" ]; then
      as_root rm -f "$destdir$path"
      echo "  removed $path"
    fi
  done
}

new_folders=()
note_new_folders() { # note_new_folders PATH: the folders above PATH that do not exist yet
  local dir=${1%/*}
  while [ -n "$dir" ] && [ ! -d "$destdir$dir" ]; do
    new_folders+=("$dir/")
    dir=${dir%/*}
  done
}

# remove_created_folders FOLDER/...: each folder an install created, deepest first, once it holds
# nothing but the desktop's caches of what was removed.
remove_created_folders() {
  local dir
  local -a deepest_first=()
  mapfile -t deepest_first < <(printf '%s\n' "$@" | sed '/^$/d' | sort -r)
  for dir in "${deepest_first[@]}"; do
    [ -d "$destdir$dir" ] || continue
    case $(ls -A "$destdir$dir") in
      mimeinfo.cache | icon-theme.cache) as_root rm -f "$destdir$dir"/{mimeinfo,icon-theme}.cache ;;
    esac
    as_root rmdir --ignore-fail-on-non-empty "$destdir$dir"
  done
}

remove_own_folders() { # the folders only Quilla uses, once empty
  local dir
  for dir in "$prefix/share/quilla" "$prefix/share/doc/quilla"; do
    [ -d "$destdir$dir" ] && as_root rmdir --ignore-fail-on-non-empty "$destdir$dir"
  done
  return 0
}

install_files() {
  [ -x "$build/bin/quilla" ] || { echo "install.sh: no build in $build (run 'make build' first)" >&2; exit 1; }
  # Global, not local: the exit trap runs after this function has returned.
  staging=$(mktemp -d "${TMPDIR:-/tmp}/quilla-stage-XXXXXX")
  trap 'rm -rf "$staging"' EXIT
  local stage=$staging/root
  if ! DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >"$staging/install.log" 2>&1; then
    cat "$staging/install.log" >&2; exit 1
  fi
  rm -rf "$stage$prefix/share/lintian" # the Debian package's checker notes mean nothing here

  local -a files=() placed=() unchanged=() skipped=()
  mapfile -t files < <(cd "$stage" && find . \( -type f -o -type l \) | sed 's|^\.||' | sort)
  local path mode
  for path in "${files[@]}"; do
    mode=$(stat -c %a "$stage$path")
    if owned_by_package "$path"; then
      skipped+=("$path")
    elif cmp -s "$stage$path" "$destdir$path" && [ "$(stat -c %a "$destdir$path")" = "$mode" ]; then
      unchanged+=("$path")
    else
      note_new_folders "$path"
      # install(1) replaces the file (new inode), so a running Files keeps its loaded module intact.
      as_root install -D -m "$mode" "$stage$path" "$destdir$path"
      placed+=("$path")
    fi
  done

  local -a listed=("${placed[@]}" "${unchanged[@]}")
  mapfile -t listed < <(printf '%s\n' "${listed[@]}" | sed '/^$/d' | sort)
  # Files an earlier install placed that this build no longer has; the folders it created.
  if [ -f "$destdir$manifest" ]; then
    local -a stale=()
    mapfile -t stale < <(comm -23 <(grep -v '/$' "$destdir$manifest" | sort) <(printf '%s\n' "${listed[@]}"))
    [ ${#stale[@]} -gt 0 ] && remove_listed "${stale[@]}"
    mapfile -t -O ${#new_folders[@]} new_folders < <(grep '/$' "$destdir$manifest")
  fi
  note_new_folders "$manifest"
  { printf '%s\n' "${listed[@]}"; printf '%s\n' "${new_folders[@]}" | sed '/^$/d' | sort -u; } |
    as_root install -D -m 644 /dev/stdin "$destdir$manifest"

  refresh_desktop_databases
  restart_files "loads the Quilla module"

  echo "Quilla installed under $prefix (${#placed[@]} files new or updated, ${#unchanged[@]} unchanged):"
  printf '  %s\n' "${listed[@]}"
  for path in "${skipped[@]}"; do
    echo "  left alone: $path belongs to the installed Debian package quilla"
  done
  echo "List of installed files: $manifest"
  if [ "$prefix" = /usr/local ]; then
    echo "Remove them with: make uninstall"
  else
    echo "Remove them with: make uninstall PREFIX=$prefix"
  fi
}

settings_hint() {
  local config=${XDG_CONFIG_HOME:-$HOME/.config} state=${XDG_STATE_HOME:-$HOME/.local/state}
  echo "Your settings were left alone: $config/quilla/ (settings and the Files module's log),"
  echo "  $state/quilla/ (the application's log) and $config/autostart/app.kelvarin.Quilla.desktop (start at login, if enabled)."
}

uninstall_files() {
  if [ ! -f "$destdir$manifest" ]; then
    echo "Nothing to remove: no Quilla installed under $prefix ($manifest is missing)."
    settings_hint
    return 0
  fi
  local -a listed=() folders=()
  mapfile -t listed < <(grep -v '/$' "$destdir$manifest")
  mapfile -t folders < <(grep '/$' "$destdir$manifest")
  echo "Removing Quilla from $prefix:"
  remove_listed "${listed[@]}"
  as_root rm -f "$destdir$manifest"
  refresh_desktop_databases
  remove_created_folders "${folders[@]}"
  remove_own_folders
  restart_files "no longer shows Quilla's menu"
  if [ -z "$destdir" ] && command -v pgrep >/dev/null && pgrep -x quilla >/dev/null; then
    echo "quilla is still running (pid $(pgrep -x quilla | paste -sd ' ')); it ends when you quit it from its tray menu."
  fi
  settings_hint
}

case $command in
  install) install_files ;;
  uninstall) uninstall_files ;;
  *) usage ;;
esac
