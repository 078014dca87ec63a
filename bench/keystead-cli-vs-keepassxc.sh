#!/usr/bin/env bash
# keystead-cli export --plain of 10,000 entries against keepassxc-cli export -f csv of the same
# entries, each as a whole process, medians of 5 runs. keepassxc's key derivation takes KDF_MS
# milliseconds (100, its floor, unless set); set it to the seal's derivation time to compare at
# equal cost.
# Installs Debian's keepassxc when it is missing; builds the Release tool in build/release.
set -euo pipefail

COUNT=${COUNT:-10000}
RUNS=${RUNS:-5}
KDF_MS=${KDF_MS:-100}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/release}

if ! command -v keepassxc-cli > /dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends keepassxc
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEYSTEAD_TESTS=OFF -DKEYSTEAD_BENCH=ON > /dev/null
cmake --build "$build" --target keystead-cli cli_bench_data > /dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/cli/cli_bench_data" "$work" "$COUNT"
printf 'kp password\nkp password\n' |
    keepassxc-cli import -q -p -t "$KDF_MS" "$work/entries.xml" "$work/entries.kdbx" > /dev/null 2>&1
printf 'kp password\n' | keepassxc-cli db-info -q "$work/entries.kdbx" | grep -i -E 'KDF|cipher|version' || true

# Wall and CPU (user + system) milliseconds of one run of the command line given, its input
# from $2; the CPU time moves less with the load of other work on the machine.
run_ms() {
    local TIMEFORMAT='%3R %3U %3S' timing
    timing=$( { time (printf '%s\n' "$2" | eval "$1" > /dev/null) ; } 2>&1 )
    awk '{ printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000 }' <<< "$timing"
}

median() {
    sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'
}

keystead="'$build/src/cli/keystead-cli' export --user bench --out '$work/plain.txt' --plain --store '$work/registry.sqlite' --password-stdin 2> /dev/null"
keepassxc="keepassxc-cli export -q -f csv '$work/entries.kdbx'"

# Both outputs hold every entry.
printf 'bench password\n' | eval "$keystead"
[ "$(grep -c '^Entry ' "$work/plain.txt")" -eq "$COUNT" ] || { echo "keystead-cli export incomplete" >&2; exit 1; }
[ "$(printf 'kp password\n' | eval "$keepassxc" | grep -c '"Entry ')" -eq "$COUNT" ] ||
    { echo "keepassxc-cli export incomplete" >&2; exit 1; }

runs() {
    for _ in $(seq "$RUNS"); do run_ms "$1" "$2"; done
}
k=$(runs "$keystead" "bench password")
x=$(runs "$keepassxc" "kp password")
kw=$(cut -d' ' -f1 <<< "$k" | median); kc=$(cut -d' ' -f2 <<< "$k" | median)
xw=$(cut -d' ' -f1 <<< "$x" | median); xc=$(cut -d' ' -f2 <<< "$x" | median)
echo "entries: $COUNT, runs: $RUNS, load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "keystead-cli export --plain: median $kw ms wall, $kc ms CPU"
echo "keepassxc-cli export -f csv: median $xw ms wall, $xc ms CPU"
awk -v k="$kw" -v x="$xw" -v kc="$kc" -v xc="$xc" \
    'BEGIN { printf "keepassxc-cli / keystead-cli: %.1f wall, %.1f CPU\n", x / (k > 0 ? k : 1), xc / (kc > 0 ? kc : 1) }'
