#!/usr/bin/env bash
# The Debian package on this machine: builds it (scripts/build-package.sh, which fails on lintian
# errors and on metainfo that does not validate), installs it with apt-get, checks that the
# application runs and every desktop file is in place with absolute paths, removes it again and
# checks that no Quilla file is left outside the users' folders. Files that were there before
# (an earlier `make run` puts the Files module at the package's path) are put back afterwards.
# Needs root and apt-get; skipped (77) otherwise, and when a quilla package is already installed
# (the test would replace the user's package).
# usage: package_deb_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

[ "$(id -u)" -eq 0 ] || skip "needs root to install a package"
for tool in apt-get dpkg-deb dpkg-shlibdeps cpack; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
if dpkg-query -W -f='${Status}' quilla 2>/dev/null | grep -q 'install ok installed'; then
  skip "a quilla package is installed on this machine; not replacing it"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quilla-deb-XXXXXX")
source "$(dirname "$0")/machine_state.sh"
apt() {
  DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=600 --no-install-recommends "$@"
}
cleanup() {
  set +e
  if dpkg-query -W -f='${Status}' quilla 2>/dev/null | grep -q 'install ok installed'; then
    apt remove quilla >/dev/null 2>&1
  fi
  restore_files
  rm -rf "$work"
}
trap cleanup EXIT

note "build the package"
deb=$(JOBS=$(nproc) "$source_dir/scripts/build-package.sh" 2>"$work/build.err" | tee "$work/build.log" | tail -n1) \
  || { tail -50 "$work/build.log" "$work/build.err" >&2; fail "make package failed"; }
[[ $deb == */quilla_*_amd64.deb ]] || { cat "$work/build.log" >&2; fail "no package named: $deb"; }
deb=$(realpath "$source_dir/$deb")
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6core6 libnautilus-extension4 libvips42 libarchive13; do
  [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

mapfile -t files < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -n 's|^\./|/|; /[^/]$/p')
for path in "${files[@]}"; do # /usr/local belongs to the local administrator, never to a package
  [[ $path == /usr/* && $path != /usr/local/* ]] || fail "the package installs $path"
done
# Quilla's files outside the package's own paths (an earlier `make run` has the module at the
# package's path, which the package replaces and removes; it is put back at the end).
printf '%s\n' "${files[@]}" >"$work/package-files"
snapshot() { find /usr /etc /opt -iname '*quilla*' 2>/dev/null | { grep -vxF -f "$work/package-files" || true; } | sort; }
snapshot >"$work/before"
preserve_files "${files[@]}"

note "apt-get install ./$(basename "$deb")"
apt install "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get install failed"; }
[ "$(/usr/bin/quilla --version)" = "quilla ${version%-*}" ] || fail "quilla --version: $(/usr/bin/quilla --version 2>&1)"
module=$(pkg-config --variable=extensiondir libnautilus-extension-4)/libquilla-nautilus.so
[ -f "$module" ] || fail "the module is not in Files' extension folder"
grep -qx 'Exec=/usr/bin/quilla %u' /usr/share/applications/app.kelvarin.Quilla.desktop || fail "desktop entry Exec"
grep -qx 'Exec=/usr/bin/quilla --login-item' /usr/share/dbus-1/services/app.kelvarin.Quilla.service || fail "service Exec"
for path in /usr/bin/quilla-finder /usr/lib/quilla/quilla /usr/lib/quilla/libquilla-image.so \
  /usr/lib/quilla/libquilla-pdf.so /usr/share/icons/hicolor/scalable/apps/app.kelvarin.Quilla.svg \
  /usr/share/metainfo/app.kelvarin.Quilla.metainfo.xml /usr/share/doc/quilla/copyright \
  /usr/share/doc/quilla/changelog.Debian.gz /usr/share/man/man1/quilla.1.gz; do
  [ -f "$path" ] || fail "$path is missing"
done

note "apt-get remove quilla"
apt remove quilla >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get remove failed"; }
for path in "${files[@]}"; do
  [ ! -e "$path" ] || fail "left behind: $path"
done
snapshot >"$work/after"
diff "$work/before" "$work/after" || fail "Quilla files outside the users' folders changed"
note "all cases passed"
