#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing zarnok3d need, if any are missing.
set -euo pipefail

packages=(
    # build
    cmake g++ make pkg-config
    libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libx11-dev libxfixes-dev libwayland-dev fonts-dejavu-core
    libdecor-0-plugin-1-cairo
    # tests and benchmarks
    libgtest-dev libbenchmark-dev
    libxmp-dev libcairo2-dev libxtst-dev libxext-dev
    clang libclang-rt-14-dev
    # the Debian package and its metadata
    dpkg-dev appstream desktop-file-utils
    debhelper lintian
    # end-to-end tests: a real X server, real input, screenshots
    xvfb xauth xdotool openbox x11-utils python3
    i3 weston xwayland xserver-xorg-video-dummy x11-xserver-utils
    # the desktops most players have: KDE's kwin, GNOME's mutter, Xfce's xfwm4
    kwin-wayland kwin-style-breeze mutter xfwm4 xfconf dbus
    # the game for Windows (scripts/windows.sh): the cross compiler, the libraries' sources,
    # the zip and the installer, and Wine to run it all
    g++-mingw-w64-x86-64-posix dpkg-dev nsis zip wine64
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
echo "installing: ${missing[*]}"
if ! "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${as_root[@]}" apt-get update
    "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
