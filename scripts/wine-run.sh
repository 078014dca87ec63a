#!/usr/bin/env bash
# Starts (start) or ends (stop) the Wine server of the Windows tests. Kept running between the
# test programs, so each runs without Wine starting anew, and ending by itself a minute after the
# last of them should stop never come; the prefix is made on first use.
set -euo pipefail
: "${WINEPREFIX:?the Wine prefix of the build}"
server=/usr/lib/wine/wineserver
[ -x "$server" ] || server=$(command -v wineserver)
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
case "${1:-}" in
    start)
        mkdir -p "$WINEPREFIX"
        "$server" -p60
        "$wine" cmd /c exit >/dev/null 2>&1 || true
        ;;
    stop)
        "$server" -k 2>/dev/null || true
        ;;
    *)
        echo "usage: $0 start|stop" >&2
        exit 2
        ;;
esac
