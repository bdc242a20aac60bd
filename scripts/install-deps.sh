#!/usr/bin/env bash
# Installs the Debian 12 packages Quilla needs to build, run and test.
# Idempotent and quiet: runs apt-get only for what is missing, and 'apt-get update' only then.
set -euo pipefail

packages=(
  # toolchain
  g++ cmake ninja-build pkg-config make git
  # the fuzz build (libFuzzer comes with clang's runtime libraries)
  clang-14 libclang-rt-14-dev
  # libraries
  libplist-dev libplist++-dev nlohmann-json3-dev libglib2.0-dev libglib2.0-bin
  libnautilus-extension-dev libarchive-dev libvips-dev libqpdf-dev libssl-dev libicu-dev
  qt6-base-dev qt6-svg-dev gsettings-desktop-schemas nautilus-data fonts-noto-cjk
  # the settings window at home on GNOME: Adwaita style, GTK file dialogs
  adwaita-qt6 qt6-gtk-platformtheme
  # installing: desktop databases, the Debian package and its checks
  desktop-file-utils gtk-update-icon-cache appstream dpkg-dev lintian procps
  # tests, end-to-end and benchmarks; Files itself and xdotool for the right-click test
  libgtest-dev libgmock-dev libbenchmark-dev dbus dbus-x11 xvfb xclip xauth python3
  zip unzip libarchive-tools qpdf poppler-utils libvips-tools imagemagick time
  # real GNOME Files, xdotool for the right-click test, and a Wayland compositor with XWayland
  nautilus xdotool weston xwayland wl-clipboard
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
