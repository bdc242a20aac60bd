#!/bin/bash
# The `quilla` command starts without the GUI toolkit and the image libraries, hands everything but
# `perform` to the application in lib/quilla/, and loads the image and PDF modules only for their
# actions (the PDF module without the image library); without a module its actions fail with a
# sentence while the others still work.
# Usage: front_end_test.sh QUILLA_BINARY
set -euo pipefail

quilla=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_STATE_HOME=$work/home/.local/state
export XDG_DATA_HOME=$work/home/.local/share XDG_CACHE_HOME=$work/home/.cache
mkdir -p "$HOME" "$work/files"
printf 'hello\n' >"$work/files/a.txt"

linked=$(ldd "$quilla")
if grep -E 'libQt6|libvips|libqpdf|libgtk|libgio' <<<"$linked"; then
  fail "the front end links libraries that only the application or the image module need"
fi
private=$(dirname "$quilla")/../lib/quilla
if ldd "$private/libquilla-pdf.so" | grep libvips; then
  fail "the PDF module loads the image library"
fi

expected=$(sha256sum "$work/files/a.txt" | cut -d' ' -f1)
out=$("$quilla" perform copySHA256 --selected "$work/files/a.txt")
[[ $out == "$expected"* ]] || fail "copySHA256 printed '$out'"

version=$("$quilla" --version) || fail "quilla --version did not reach the application"
[[ $version == quilla\ * ]] || fail "quilla --version printed '$version'"

# An image action loads the module; the same front end copied alone has none to load.
"$quilla" perform imagesToPDF --selected "$work/files/a.txt" >/dev/null 2>"$work/err" && fail "a text file became a PDF"
grep -q '所选项目中没有图片' "$work/err" || fail "imagesToPDF of a text file: $(cat "$work/err")"
# Formats only libvips' plug-ins read are loaded on demand: HEIF, and BMP through ImageMagick; a
# PDF stays a document.
if command -v vips >/dev/null && vips -l foreign | grep -q heifsave && vips -l foreign | grep -q magicksave; then
  vips black "$work/files/black.v" 8 6 --bands 3
  vips copy "$work/files/black.v" "$work/files/photo.heic"
  vips copy "$work/files/black.v" "$work/files/photo.bmp"
  for image in photo.heic photo.bmp; do
    "$quilla" perform convertImageToPNG --selected "$work/files/$image" >/dev/null 2>"$work/err" \
      || fail "$image: $(cat "$work/err")"
  done
  [ -s "$work/files/photo.png" ] && [ -s "$work/files/photo 2.png" ] || fail "HEIF and BMP were not converted"
  printf '%%PDF-1.4\n%%%%EOF\n' >"$work/files/doc.pdf"
  "$quilla" perform imagesToPDF --selected "$work/files/doc.pdf" >/dev/null 2>"$work/err" && fail "a PDF became a picture"
  grep -q '所选项目中没有图片' "$work/err" || fail "imagesToPDF of a PDF: $(cat "$work/err")"
else
  echo "skipping the plug-in formats: the vips command, or its HEIF or ImageMagick saver, is missing"
fi

mkdir -p "$work/alone/bin"
cp "$quilla" "$work/alone/bin/quilla"
"$work/alone/bin/quilla" perform imagesToPDF --selected "$work/files/a.txt" >/dev/null 2>"$work/err" \
  && fail "an image action succeeded without its module"
grep -q '图片与 PDF 工具无法载入：libquilla-image.so' "$work/err" || fail "without the module: $(cat "$work/err")"
"$work/alone/bin/quilla" perform copySHA256 --selected "$work/files/a.txt" >/dev/null \
  || fail "without the module, an action that needs none failed"
# A file that is no module, then one that others may replace: neither is loaded.
mkdir -p "$work/alone/lib/quilla"
printf 'not a module' >"$work/alone/lib/quilla/libquilla-image.so"
"$work/alone/bin/quilla" perform imagesToPDF --selected "$work/files/a.txt" >/dev/null 2>"$work/err" \
  && fail "a damaged module was used"
grep -q '图片与 PDF 工具无法载入：libquilla-image.so: ' "$work/err" || fail "with a damaged module: $(cat "$work/err")"
cp "$private/libquilla-image.so" "$work/alone/lib/quilla/libquilla-image.so"
chmod o+w "$work/alone/lib/quilla/libquilla-image.so"
"$work/alone/bin/quilla" perform imagesToPDF --selected "$work/files/a.txt" >/dev/null 2>"$work/err" \
  && fail "a world-writable module was used"
grep -q '图片与 PDF 工具无法载入：libquilla-image.so$' "$work/err" || fail "with a world-writable module: $(cat "$work/err")"
"$work/alone/bin/quilla" --version >/dev/null 2>"$work/err" && fail "started without the application"
grep -q '无法启动 Quilla：lib/quilla/quilla' "$work/err" || fail "without the application: $(cat "$work/err")"
echo "front end: ok"
