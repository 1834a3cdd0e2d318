#!/usr/bin/env bash
# Installs the Debian 12 packages Kestrin needs, only those that are missing.
#   install-deps.sh run    what building and running the editor needs
#   install-deps.sh test   that, plus what the test suite needs (Xvfb, xdotool, sway, wtype, GLib's gio, D-Bus, ...)
#   install-deps.sh bench  that, plus Google Benchmark and the peer editor
#   install-deps.sh fuzz   that, plus clang and its fuzzing runtime
#   install-deps.sh deb    that, plus what building and checking the Debian package needs
set -euo pipefail
what=${1:-run}

packages=(cmake make g++ qt6-base-dev qt6-5compat-dev libgl-dev fonts-liberation
          qt6-image-formats-plugins qt6-qpa-plugins qt6-wayland libqt6svg6 shared-mime-info desktop-file-utils
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n php-cli)
case "$what" in
  run) ;;
  # dbus-x11 and at-spi2-core as every desktop has them: the suite must pass with them.
  test) packages+=(xvfb xauth xdotool x11-utils imagemagick libglib2.0-bin dbus-daemon dbus-x11 at-spi2-core
                   python3-pyatspi procps python3 clang libclang-rt-14-dev patch appstream
                   sway wtype grim jq) ;; # a headless Wayland compositor and its tools
  bench) packages+=(xvfb xauth xdotool x11-utils libbenchmark-dev geany time sed python3 at-spi2-core python3-pyatspi patch) ;;
  fuzz) packages+=(clang libclang-rt-14-dev) ;;
  deb) packages+=(dpkg-dev file lintian) ;;
  *) echo "usage: $0 run|test|bench|fuzz|deb" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
