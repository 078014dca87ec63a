#!/usr/bin/env bash
# Fails when a file under src/ includes a folder above its own: the folders stand from the ground
# up, and a folder may use only those below it. The cipher and the store never include Qt.
set -euo pipefail
src=${1:-src}
grep -rnE '^#include ["<]' "$src" --include='*.h' --include='*.cpp' | awk -v src="$src/" '
    BEGIN {
        n = split("crypto store platform entries exchange session desktop mainwindow app cli", order, " ")
        for (i = 1; i <= n; i++) rank[order[i]] = i
    }
    {
        path = substr($0, length(src) + 1)
        own = substr(path, 1, index(path, "/") - 1)
        if ((own == "crypto" || own == "store") && $0 ~ /#include <Q/) {
            print $0 ": Qt in the core"; faults++
        }
        if (match($0, /#include "[a-z]+\//)) {
            used = substr($0, RSTART + 10, RLENGTH - 11)
            if ((used in rank) && (own in rank) && rank[used] > rank[own]) {
                print $0 ": " own "/ reaches up to " used "/"; faults++
            }
        }
    }
    END { exit faults > 0 }'
