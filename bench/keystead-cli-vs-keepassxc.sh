#!/usr/bin/env bash
# keystead-cli export --plain of 10,000 entries against keepassxc-cli export -f csv of the same
# entries (its key derivation at its 100 ms floor), each as a whole process, medians of 5 runs.
# Installs Debian's keepassxc when it is missing; builds the Release tool in build/release.
set -euo pipefail

COUNT=${COUNT:-10000}
RUNS=${RUNS:-5}
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
    keepassxc-cli import -q -p -t 100 "$work/entries.xml" "$work/entries.kdbx" > /dev/null 2>&1
printf 'kp password\n' | keepassxc-cli db-info -q "$work/entries.kdbx" | grep -i -E 'KDF|cipher|version' || true

# Milliseconds of one run of the command line given, its input from $2.
millis() {
    local start end
    start=$(date +%s%N)
    printf '%s\n' "$2" | eval "$1" > /dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
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

k=$(for _ in $(seq "$RUNS"); do millis "$keystead" "bench password"; done | median)
x=$(for _ in $(seq "$RUNS"); do millis "$keepassxc" "kp password"; done | median)
echo "entries: $COUNT, runs: $RUNS, load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "keystead-cli export --plain: median $k ms"
echo "keepassxc-cli export -f csv: median $x ms"
awk -v k="$k" -v x="$x" 'BEGIN { printf "keepassxc-cli / keystead-cli: %.1f\n", x / (k > 0 ? k : 1) }'
