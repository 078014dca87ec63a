#!/usr/bin/env bash
# A new user's first build from a clean clone, without ccache:
#   first-build.sh run    `make run` until the logon window is on a private X server
#   first-build.sh test   the build of `make test` (configure and build, its tests not run)
# The clone is made next to this working tree, so that ../shared is found as in the tree itself,
# and removed afterwards (kept with KEEP=1, for its build folder's .ninja_log). Prints wall seconds, CPU seconds (user + system of the build and
# everything it started) and the load average before and after; the CPU time moves far less than
# the wall time with the other work of the machine.
set -euo pipefail

what=${1:-run}
root=$(cd "$(dirname "$0")/.." && pwd)
clone=$(mktemp -d "$(dirname "$root")/first-build.XXXXXX")
[[ -n "${KEEP:-}" ]] || trap 'rm -rf "$clone"' EXIT
git clone -q "$root" "$clone"
export CCACHE_DISABLE=1
# The program's store and settings stay inside the clone.
export XDG_DATA_HOME="$clone/.data" XDG_CONFIG_HOME="$clone/.config" XDG_CACHE_HOME="$clone/.cache"

load() { cut -d' ' -f1-3 /proc/loadavg; }

timed_build() {
    local start end
    start=$(date +%s.%N)
    case "$what" in
        run)
            run_until_logon
            # The logon window's moment, not the program's end, closes the measurement.
            end=$(cat "$clone/shown") ;;
        test)
            /usr/bin/time -f '%U %S' -o "$clone/cpu" bash -c \
                "cmake -S '$clone' -B '$clone/build/test' -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKEYSTEAD_SANITIZE=ON > /dev/null &&
                 cmake --build '$clone/build/test' -j $(nproc) > /dev/null"
            end=$(date +%s.%N) ;;
        *) echo "first-build.sh: run or test" >&2; exit 2 ;;
    esac
    echo "wall $(echo "$end - $start" | bc) s"
}

# make run under its own X server; the logon window ends the measurement and the program.
run_until_logon() {
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
        clone=$1
        /usr/bin/time -f "%U %S" -o "$clone/cpu" make -C "$clone" run > "$clone/make.log" 2>&1 &
        make=$!
        window=""
        while [[ -z "$window" ]]; do
            kill -0 "$make" 2> /dev/null || { cat "$clone/make.log" >&2; exit 1; }
            # Until the program is linked there is no window to look for; each search costs the
            # X server tens of milliseconds of a core that the build would otherwise have.
            [[ -x "$clone/build/run/src/keystead" ]] || { sleep 0.2; continue; }
            window=$(xdotool search --name "^Logon to Keystead$|^Please Logon$" 2> /dev/null | head -n 1 || true)
            [[ -n "$window" ]] || sleep 0.05
        done
        date +%s.%N > "$clone/shown"
        kill "$(xdotool getwindowpid "$window")"
        wait "$make" || true
    ' first-build "$clone"
}

echo "load before: $(load)"
timed_build
# The last line: time first reports the status of a make whose program was ended.
read -r user sys < <(tail -n 1 "$clone/cpu")
echo "cpu $(echo "$user + $sys" | bc) s (user $user, system $sys)"
echo "load after: $(load)"
