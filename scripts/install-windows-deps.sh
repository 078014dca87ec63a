#!/usr/bin/env bash
# Installs what the Windows build of the core needs: the MinGW-w64 cross compiler, Wine to run its
# tests, and GoogleTest's sources to build with the cross compiler. Does nothing when all are present.
set -euo pipefail

packages=(g++-mingw-w64-x86-64-posix wine64 googletest cmake ninja-build)

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
