#!/usr/bin/env bash
# The everyday path through the real windows, on a private Xvfb server with openbox, driven by real
# X input (xdotool): launch to the logon window, Enter at logon to the list drawn, and a keystroke
# in the find line to the list drawn again, for stores of each size in COUNTS; medians of RUNS runs.
#
#   bench/windowed-path.sh [build folder]     (default build/run, as `make bench-windowed` builds it)
#
# Builds nothing: the folder must hold src/keystead and bench/cli/cli_bench_data. When the windows
# appear is seen from outside (openbox's _NET_CLIENT_LIST, through `xprop -spy`); when the list has
# been drawn only the program knows, and it says so on standard error with KEYSTEAD_DRAW_STAMPS set.
# Times are wall-clock milliseconds; the key times run from just before xdotool starts. Enter to
# list is also given without the logon check, which the logon window stamps and which is almost
# all the derivation of the seal's key. Beside
# them the program's own CPU time over the same stretch, and for Enter the time it waited for a
# core (from /proc/<pid>/task/*/schedstat), which tell its work from the machine's other load.
set -euo pipefail

COUNTS=${COUNTS:-"100 10000 50000"}
RUNS=${RUNS:-5}
# A command the program is started under, such as "perf record -o run.data --": for a profile
# of the path only, since the CPU times are then those of the command.
WRAP=${WRAP:-}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/run}" && pwd)
keystead=$build/src/keystead
data=$build/bench/cli/cli_bench_data
for program in "$keystead" "$data"; do
    [[ -x "$program" ]] || { echo "windowed-path.sh: $program is missing; run make bench-windowed" >&2; exit 1; }
done

work=$(mktemp -d)
server=""
app=""
cleanup() {
    [[ -n "$app" ]] && kill "$app" 2> /dev/null && wait "$app" 2> /dev/null
    [[ -n "$server" ]] && kill "$server" 2> /dev/null && wait "$server" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "windowed-path.sh: $*" >&2
    exit 1
}

# Waits for a condition (a command line) for up to 60 s; the poll interval does not enter the
# figures, which come from the timestamps of the program and of the xprop reader.
wait_until() {
    local deadline=$((SECONDS + 60))
    until eval "$1"; do
        ((SECONDS < deadline)) || fail "timed out waiting for: $1"
        sleep 0.005
    done
}

# ---- The X server and the window manager ----------------------------------------------------
for n in $(seq 50 99); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
server=$!
export DISPLAY=$display
wait_until "xprop -root > /dev/null 2>&1"
openbox --sm-disable > /dev/null 2>&1 &
wait_until "xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id'"

# Every change of the managed windows, with the time it was seen; xprop ends with the server.
clients=$work/clients.log
(stdbuf -oL xprop -root -spy _NET_CLIENT_LIST 2> /dev/null | while IFS= read -r line; do
    printf '%s %s\n' "$EPOCHREALTIME" "$line"
done) > "$clients" &

# ---- Helpers --------------------------------------------------------------------------------
stamps=$work/stamps.log

# Milliseconds from $1 to $2, both seconds since the epoch.
ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }'; }

count_stamps() { grep -c "^keystead-stamp $1\$\|^keystead-stamp $1 " "$stamps" || true; }

# The time of stamp number $2 ("list drawn" and so on, $1).
nth_stamp() { grep "^keystead-stamp $1 " "$stamps" | sed -n "${2}p" | awk '{print $NF}'; }

# The first change of the managed windows after $1 that shows a window.
first_client_after() { awk -v t="$1" '$1 > t && /0x/ { print $1; exit }' "$clients"; }

# Waits until the list has not been drawn again for a quarter of a second (at most 10 s), so
# that a key's time is not taken while an earlier paint is still going. Only the list counts: a
# blinking text cursor draws its window twice a second.
settle() {
    local count deadline=$((SECONDS + 10))
    while ((SECONDS < deadline)); do
        count=$(count_stamps 'list drawn')
        sleep 0.25
        [[ $(count_stamps 'list drawn') == "$count" ]] && return
    done
}

active_is() { [[ "$(xdotool getactivewindow 2> /dev/null)" == "$1" ]]; }

# The program's CPU time and its time waiting for a core so far, in nanoseconds, all threads.
cpu_ns() { cat /proc/"$app"/task/*/schedstat 2> /dev/null | awk '{c += $1; w += $2} END {print c + 0, w + 0}'; }

# Milliseconds between two nanosecond counts.
ns_ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f\n", (b - a) / 1e6 }'; }

median() { sort -n | awk '{v[NR] = $1} END {if (NR) print v[int((NR + 1) / 2)]; else print "-"}'; }

# ---- One run --------------------------------------------------------------------------------
# Prints, in milliseconds: launch to logon managed, launch to logon drawn, Enter to list drawn,
# Enter to main window managed, the find keystrokes to the list drawn (one column each); then the
# CPU times: launch to logon drawn, Enter to list drawn, and the wait for a core in that stretch;
# then the CPU time of each find keystroke; last, the logon check's time (the seal's derivation).
FIND_KEYS=(1 2 3 BackSpace BackSpace BackSpace)
run_once() {
    local t0 tlogon tlogondrawn logon main tenter tmain tlist before key tkey walls cpus c0 c1 w0 w1
    : > "$stamps"
    t0=$EPOCHREALTIME
    KEYSTEAD_DRAW_STAMPS=1 QT_QPA_PLATFORM=xcb $WRAP "$keystead" 2> "$stamps" &
    app=$!
    wait_until "[[ -n \$(first_client_after $t0) ]]"
    tlogon=$(first_client_after "$t0")
    wait_until "[[ \$(count_stamps 'logon drawn') -ge 1 ]]"
    read -r c0 _ <<< "$(cpu_ns)"
    tlogondrawn=$(nth_stamp 'logon drawn' 1)
    cpus="$(ns_ms 0 "$c0")"
    logon=$(xdotool search --name '^Logon to Keystead$' | head -1)
    wait_until "active_is $logon"
    # The remembered name is filled in and the focus is in the password field.
    # X delivers keys in order: Enter reaches the window after the password.
    xdotool type --delay 0 'bench password'
    read -r c0 w0 <<< "$(cpu_ns)"
    tenter=$EPOCHREALTIME
    xdotool key --delay 0 Return
    wait_until "[[ \$(count_stamps 'list drawn') -ge 1 ]]"
    read -r c1 w1 <<< "$(cpu_ns)"
    tlist=$(nth_stamp 'list drawn' 1)
    tmain=$(first_client_after "$tenter")
    cpus+=" $(ns_ms "$c0" "$c1") $(ns_ms "$w0" "$w1")"
    walls="$(ms "$t0" "$tlogon") $(ms "$t0" "$tlogondrawn") $(ms "$tenter" "$tlist") $(ms "$tenter" "$tmain")"
    main=$(xdotool search --name '^Keystead - bench$' | head -1)
    wait_until "active_is $main"
    before=$(count_stamps 'find drawn')
    xdotool key --delay 0 ctrl+f
    wait_until "[[ \$(count_stamps 'find drawn') -gt $before ]]"
    for key in "${FIND_KEYS[@]}"; do
        settle
        before=$(count_stamps 'list drawn')
        read -r c0 _ <<< "$(cpu_ns)"
        tkey=$EPOCHREALTIME
        xdotool key --delay 0 "$key"
        wait_until "[[ \$(count_stamps 'list drawn') -gt $before ]]"
        read -r c1 _ <<< "$(cpu_ns)"
        walls+=" $(ms "$tkey" "$(nth_stamp 'list drawn' $((before + 1)))")"
        cpus+=" $(ns_ms "$c0" "$c1")"
    done
    kill "$app"
    wait "$app" 2> /dev/null || true
    app=""
    # The logon check, most of it the derivation of the seal's key, as the program timed it.
    echo "$walls $cpus $(ms "$(nth_stamp 'logon check begun' 1)" "$(nth_stamp 'logon check done' 1)")"
}

# ---- The stores -----------------------------------------------------------------------------
column_median() { awk -v c="$1" '{print $c}' "$2" | median; }

printf 'load average at start: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
for count in $COUNTS; do
    export XDG_DATA_HOME=$work/data-$count
    folder=$XDG_DATA_HOME/Vorrent/Keystead
    mkdir -p "$folder"
    chmod 700 "$folder"
    "$data" "$folder" "$count" > /dev/null
    rm -f "$folder/entries.xml"
    # Two runs first: the first takes the day's backup and stamps the version, the second the
    # backup of what the first wrote. Every timed run then finds a backup of the same store, as
    # every start after the first of the day does.
    results=$work/results-$count
    : > "$results"
    first=$(run_once)
    run_once > /dev/null
    for _ in $(seq "$RUNS"); do run_once >> "$results"; done
    echo "== $count entries, $RUNS runs, load average now $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "   first start of the day (backup taken): launch to logon managed $(cut -d' ' -f1 <<< "$first") ms"
    echo "   launch to logon window managed: $(column_median 1 "$results") ms, drawn: $(column_median 2 "$results") ms (CPU $(column_median 11 "$results") ms)"
    echo "   Enter at logon to list drawn:    $(column_median 3 "$results") ms (CPU $(column_median 12 "$results") ms, waiting for a core $(column_median 13 "$results") ms; main window managed: $(column_median 4 "$results") ms)"
    echo "   find keystroke to list drawn:    first $(column_median 5 "$results") ms (CPU $(column_median 14 "$results") ms), later ones $(
        awk '{for (c = 6; c <= 10; ++c) print $c}' "$results" | median) ms (CPU $(
        awk '{for (c = 15; c < NF; ++c) print $c}' "$results" | median) ms)"
    echo "   of Enter to list, the logon check (the seal's derivation): $(awk '{print $NF}' "$results" | median) ms; the rest: $(
        awk '{print $3 - $NF}' "$results" | median) ms"
    echo "   every run (ms): launch>managed launch>drawn enter>list enter>main ${FIND_KEYS[*]}; CPU: launch>drawn enter>list wait ${FIND_KEYS[*]}; logon check"
    sed 's/^/     /' "$results"
done
