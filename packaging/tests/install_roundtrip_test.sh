#!/usr/bin/env bash
# scripts/install.sh from a build folder into a staging root, as `make run` and `make uninstall`
# use it, without root: what lands where, the desktop's view of it, a second install, a file an
# older install left, and the removal of exactly what was installed. Cases run for the default
# prefix and for one with a space (Exec lines must quote it).
# usage: install_roundtrip_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1 build=$2
installer=$source_dir/scripts/install.sh

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }
work=$(mktemp -d "${TMPDIR:-/tmp}/quilla-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_STATE_HOME=$work/home/.local/state
mkdir -p "$XDG_CONFIG_HOME/quilla"
echo keep >"$XDG_CONFIG_HOME/quilla/AppPreferences.plist"
# Without Files' development files the build has no module; everything else is still installed.
module=""
if extension_dir=$(pkg-config --variable=extensiondir libnautilus-extension-4 2>/dev/null); then
  module=$extension_dir/libquilla-nautilus.so
else
  echo "-- no libnautilus-extension-4: the build has no Files module to install"
fi

# files_below ROOT: every file and link below ROOT as an absolute path without ROOT, sorted.
files_below() { (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\.||' | sort); }
ancestors_and_self() { # ancestors_and_self /a/b/c: /a, /a/b and /a/b/c, one a line
  local path=$1
  while [ -n "$path" ]; do
    echo "$path"
    path=${path%/*}
  done
}
exec_program() { # exec_program FILE: the program of its Exec line, quotes removed
  sed -n 's/^Exec=//p' "$1" | python3 -c 'import shlex,sys; print(shlex.split(sys.stdin.read())[0])'
}

roundtrip() { # roundtrip PREFIX
  local prefix=$1 root=$work/root-$RANDOM
  local manifest=$root$prefix/share/quilla/install-manifest.txt
  note "install into $root with prefix '$prefix'"
  "$installer" install --build "$build" --prefix "$prefix" --destdir "$root" >"$work/out" 2>&1 \
    || { cat "$work/out" >&2; fail "install failed"; }
  grep -q "make uninstall" "$work/out" || fail "install did not say how to remove it"
  [ -f "$manifest" ] || fail "no manifest"

  local expected=(
    "$prefix/bin/quilla" "$prefix/bin/quilla-finder" ${module:+"$module"}
    "$prefix/lib/quilla/quilla" "$prefix/lib/quilla/libquilla-image.so" "$prefix/lib/quilla/libquilla-pdf.so"
    "$prefix/share/applications/app.kelvarin.Quilla.desktop"
    "$prefix/share/dbus-1/services/app.kelvarin.Quilla.service"
    "$prefix/share/icons/hicolor/scalable/apps/app.kelvarin.Quilla.svg"
    "$prefix/share/metainfo/app.kelvarin.Quilla.metainfo.xml"
    "$prefix/share/doc/quilla/copyright" "$prefix/share/doc/quilla/changelog.Debian.gz"
    "$prefix/share/man/man1/quilla.1.gz" "$prefix/share/man/man1/quilla-finder.1.gz"
  )
  local path
  for path in "${expected[@]}"; do
    grep -qxF "$path" "$manifest" || fail "manifest lacks $path"
  done
  # The manifest and the staging root agree, apart from the manifest and the desktop's caches;
  # every folder was created by the install and is listed as such.
  diff <(grep -v '/$' "$manifest" | sort) <(files_below "$root" | grep -vE '/install-manifest\.txt$|/mimeinfo\.cache$') \
    || fail "manifest and installed files differ"
  diff <(grep '/$' "$manifest" | sort) <(cd "$root" && find . -mindepth 1 -type d | sed 's|^\.||; s|$|/|' | sort) \
    || fail "manifest and created folders differ"

  local desktop=$root$prefix/share/applications/app.kelvarin.Quilla.desktop
  local service=$root$prefix/share/dbus-1/services/app.kelvarin.Quilla.service
  [ "$(exec_program "$desktop")" = "$prefix/bin/quilla" ] || fail "desktop Exec: $(grep ^Exec= "$desktop")"
  grep -qx 'Exec=.* %u' "$desktop" || fail "desktop entry does not pass the URL"
  grep -qx 'MimeType=x-scheme-handler/quilla;' "$desktop" || fail "desktop entry is no quilla:// handler"
  [ "$(exec_program "$service")" = "$prefix/bin/quilla" ] || fail "service Exec: $(grep ^Exec= "$service")"
  grep -qx 'Exec=.* --login-item' "$service" || fail "service does not start quietly"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop entry does not validate"
  fi
  if command -v update-desktop-database >/dev/null; then
    grep -q '^x-scheme-handler/quilla=app.kelvarin.Quilla.desktop;' "$root$prefix/share/applications/mimeinfo.cache" \
      || fail "the desktop database does not know the quilla:// handler"
  fi
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root$prefix/share/metainfo/app.kelvarin.Quilla.metainfo.xml" >/dev/null \
      || fail "metainfo does not validate"
  fi

  note "a second install changes nothing and removes what an older install left"
  cp "$manifest" "$work/manifest.first"
  mkdir -p "$root$prefix/share/quilla-old"
  echo old >"$root$prefix/share/quilla-old/gone.txt"
  echo "$prefix/share/quilla-old/gone.txt" >>"$manifest"
  "$installer" install --build "$build" --prefix "$prefix" --destdir "$root" >"$work/out" 2>&1 \
    || { cat "$work/out" >&2; fail "second install failed"; }
  grep -q "(0 files new or updated" "$work/out" || { cat "$work/out" >&2; fail "second install rewrote files"; }
  [ ! -e "$root$prefix/share/quilla-old/gone.txt" ] || fail "a file of the older install was left behind"
  diff "$work/manifest.first" "$manifest" || fail "the manifest changed"
  rmdir "$root$prefix/share/quilla-old"

  note "uninstall removes every listed file and created folder, and leaves the settings"
  # A folder the install created that someone else has put a file into since is kept.
  local other=$prefix/share/applications/other.desktop
  echo other >"$root$other"
  "$installer" uninstall --prefix "$prefix" --destdir "$root" >"$work/out" 2>&1 \
    || { cat "$work/out" >&2; fail "uninstall failed"; }
  local left expected
  left=$(cd "$root" && find . -mindepth 1 | sed 's|^\.||' | grep -v '/mimeinfo\.cache$' | sort)
  expected=$(ancestors_and_self "$other" | sort)
  [ "$left" = "$expected" ] || fail "left behind: $(comm -23 <(echo "$left") <(echo "$expected"))"
  grep -qF "$XDG_CONFIG_HOME/quilla/" "$work/out" || fail "uninstall did not say where the settings are"
  [ "$(cat "$XDG_CONFIG_HOME/quilla/AppPreferences.plist")" = keep ] || fail "settings were touched"
  if command -v update-desktop-database >/dev/null; then
    ! grep -q quilla "$root$prefix/share/applications/mimeinfo.cache" || fail "the desktop database still names Quilla"
  fi
  "$installer" uninstall --prefix "$prefix" --destdir "$root" >"$work/out" 2>&1 || fail "a second uninstall failed"
  grep -q "Nothing to remove" "$work/out" || fail "a second uninstall did not say there was nothing"
}

roundtrip /usr/local
roundtrip "/opt/Quilla Test"
note "all cases passed"
