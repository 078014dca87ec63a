#!/usr/bin/env bash
# Installs the Debian packages Keystead builds, tests and runs with; does nothing when all are present.
# With "windows", the packages of the Windows build instead: the MinGW-w64 cross compiler (POSIX
# threads), Wine to run its tests, and GoogleTest's sources to build with the cross compiler.
set -euo pipefail

packages=(
    g++ cmake ninja-build make
    qt6-base-dev qt6-qpa-plugins libgl-dev
    libsqlite3-dev libx11-dev libsodium-dev pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev lld
    fonts-dejavu-core
    xvfb xauth openbox xdotool x11-utils trayer xclip dbus-daemon dbus-bin
    poppler-utils xdg-utils
    help2man
    dpkg-dev desktop-file-utils appstream
)
if [ "${1:-}" = windows ]; then
    packages=(g++-mingw-w64-x86-64-posix wine64 googletest cmake ninja-build make)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
