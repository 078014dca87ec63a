#!/usr/bin/env bash
# Runs a test program on a private X server (Xvfb) under the openbox window manager, so that its
# windows get real frames, focus and modal loops, and on a private D-Bus session bus, where a test
# plays the desktop's screen saver and no signal of the user's own desktop reaches the program;
# `make test` needs no display or bus of its own. Listing the tests needs neither.
set -euo pipefail

for arg in "$@"; do
    if [[ "$arg" == --gtest_list_tests ]]; then
        exec "$@"
    fi
done

here="$(cd "$(dirname "$0")" && pwd)"
if [[ "${1:-}" != --on-display ]]; then
    exec dbus-run-session --config-file="$here/session-bus.conf" -- \
        xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" --on-display "$@"
fi
shift

wm=""
trap '[[ -n "$wm" ]] && { kill "$wm" 2>/dev/null || true; wait "$wm" 2>/dev/null || true; }' EXIT
wmlog=$(mktemp)

# Windows shown before the window manager runs would never be framed, and every test would then
# fail for a reason it does not name. An openbox that ends at once (seen on a busy machine, with
# the server of the test before still going away) is started again; without a manager after 30 s
# in all, the run stops here and says why.
managed=false
for attempt in 1 2 3; do
    openbox --sm-disable >/dev/null 2>"$wmlog" &
    wm=$!
    for _ in $(seq 500); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            managed=true
            break 2
        fi
        kill -0 "$wm" 2>/dev/null || break
        sleep 0.02
    done
    # One that runs without managing the screen is not started twice.
    kill -0 "$wm" 2>/dev/null && break
done
if [[ "$managed" != true ]]; then
    echo "run-under-x.sh: openbox did not come up on $DISPLAY (tried $attempt times):" >&2
    cat "$wmlog" >&2
    rm -f "$wmlog"
    exit 1
fi
rm -f "$wmlog"

# The X platform's own libraries keep some allocations until the process ends.
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

status=0
QT_QPA_PLATFORM=xcb "$@" || status=$?
exit "$status"
