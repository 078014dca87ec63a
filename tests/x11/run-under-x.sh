#!/usr/bin/env bash
# Runs a test program on a private X server (Xvfb) under the openbox window manager, so that its
# windows get real frames, focus and modal loops; `make test` needs no display of its own.
# Listing the tests needs no X server.
set -euo pipefail

for arg in "$@"; do
    if [[ "$arg" == --gtest_list_tests ]]; then
        exec "$@"
    fi
done

if [[ "${1:-}" != --on-display ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" --on-display "$@"
fi
shift

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true; wait "$wm" 2>/dev/null || true' EXIT

# Windows shown before the window manager runs would never be framed, and every test would then
# fail for a reason it does not name: without a manager after 30 s, the run stops here.
managed=false
for _ in $(seq 1500); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        managed=true
        break
    fi
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.02
done
if [[ "$managed" != true ]]; then
    echo "run-under-x.sh: openbox did not come up on $DISPLAY" >&2
    exit 1
fi

# The X platform's own libraries keep some allocations until the process ends.
here="$(cd "$(dirname "$0")" && pwd)"
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

status=0
QT_QPA_PLATFORM=xcb "$@" || status=$?
exit "$status"
