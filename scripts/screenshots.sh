#!/usr/bin/env bash
# Renders every page of the settings window (14 feature pages, preferences, the feature-request
# sheet, the update dialog; light and dark) to PNG in docs/screenshots/, without a display.
# BUILD_DIR picks the build to use (default: build, the release preset; build-test works too).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
if [ ! -d "$build" ]; then
  cmake --preset default
fi
cmake --build "$build" --target quilla-settings-screenshots -j"${JOBS:-2}"
tool="$(find "$build" -name quilla-settings-screenshots -type f -perm -u+x | head -n1)"
if ! fc-list :lang=zh family | grep -q .; then
  echo "screenshots: no font with Chinese glyphs; install fonts-noto-cjk" >&2
  exit 1
fi
# Once in each display language ("….zh.…" and "….en.…"). Leak reports of a sanitizer build say
# nothing about the pictures.
for language in zh_CN.UTF-8 en_US.UTF-8; do
  LANGUAGE="" LC_ALL="" LC_MESSAGES="" LANG="$language" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" QT_QPA_PLATFORM=offscreen XDG_CURRENT_DESKTOP=GNOME \
    "$tool" docs/screenshots
done
