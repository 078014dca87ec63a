#!/bin/sh
# Runs a test program on a fresh X server (Xvfb) with the openbox window manager, so that the
# keys it sends with xdotool go through a real X server, auto-repeat included.
exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    openbox >/dev/null 2>&1 &
    manager=$!
    sleep 1
    "$@"
    status=$?
    kill "$manager" 2>/dev/null
    exit "$status"' run-under-x "$@"
