#!/usr/bin/env bash
# Installs what Valdrix needs to build, run and test on Debian 12 (root, or a user with sudo).
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config ccache
  # the sanitizer build and the fuzz targets: clang with its sanitizer and libFuzzer runtimes
  clang libclang-rt-14-dev
  # the layout check: every C++ file as .clang-format has it
  clang-format
  qt6-base-dev libusb-1.0-0-dev libfmt-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev umockdev libumockdev-dev
  xvfb xauth dbus at-spi2-core python3 python3-pyatspi
  # the window as an operator meets it: a window manager on the virtual display, screenshots
  openbox x11-apps imagemagick xdotool
  # valdrix-cli serve driven as lab tools and instrument drivers drive it
  python3-pyvisa python3-pyvisa-py lxi-tools python3-pymeasure
  # serve registers its VXI-11 device with the portmapper; the tests run their own rpcbind
  libtirpc-dev rpcbind
  # and announces it by DNS-SD through Avahi; the tests run their own D-Bus and Avahi daemons
  libavahi-client-dev avahi-daemon avahi-utils
  # the Debian package: cpack finds its dependencies with dpkg-shlibdeps and file; help2man
  # writes the manual pages; tools/check-package.sh checks the package with the others
  dpkg-dev file help2man lintian appstream man-db
  # fonts: a legible Latin face first, then Song/Ming faces for the Chinese texts
  fonts-liberation2 fonts-dejavu-core fonts-arphic-uming
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
