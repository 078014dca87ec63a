#!/usr/bin/env bash
# Installs the build into a temporary folder and checks what a desktop reads from it: the desktop
# entry and the AppStream metadata pass their validators, and the program and icon they name are
# there. Skipped (77) when the validators are not installed.
set -euo pipefail
build=$1

for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed: skipped"
        exit 77
    fi
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null
share=$root/usr/share
entry=$share/applications/keystead.desktop

desktop-file-validate "$entry"
appstreamcli validate --no-net "$share/metainfo/"*.metainfo.xml

# The entry starts the installed program and shows the installed icon at every size.
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon=$(sed -n 's/^Icon=//p' "$entry")
test -x "$root/usr/bin/$program"
for size in 16 22 24 32 48 64 128 256; do
    test -s "$share/icons/hicolor/${size}x${size}/apps/$icon.png"
done
test -s "$share/icons/hicolor/scalable/apps/$icon.svg"
echo "installed files are valid"
