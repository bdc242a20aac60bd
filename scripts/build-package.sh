#!/usr/bin/env bash
# Builds the Debian package build/quilla_<version>_amd64.deb from the release build (the one
# `make run` installs; the install prefix is chosen when packing, so one build serves both),
# stripped and installed below /usr, checks its AppStream metainfo and fails on any lintian error.
# Prints the package's path on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j "${JOBS:-$(nproc)}"
rm -f build/quilla_*.deb
(cd build && cpack -G DEB >cpack.log 2>&1) || { cat build/cpack.log >&2; exit 1; }
deb=$(ls build/quilla_*.deb)

if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net packaging/app.kelvarin.Quilla.metainfo.xml >/dev/null \
    || { appstreamcli validate --no-net packaging/app.kelvarin.Quilla.metainfo.xml >&2; exit 1; }
else
  echo "appstreamcli not installed: the metainfo file was not validated"
fi
if command -v lintian >/dev/null; then
  # Errors fail the package; warnings are shown.
  lintian --fail-on error "$deb" \
    || { echo "lintian found errors in $deb" >&2; exit 1; }
else
  echo "lintian not installed: the package was not checked"
fi
echo "$deb"
