#!/usr/bin/env bash
# Runs scripts/wakeups.sh twice at the same time, each on its own X display, so that the
# machine's load falls on both alike, and prints their CPU and its ratio (second / first).
#   scripts/wakeups_pair.sh BUILD_A MODE_A BUILD_B MODE_B [SECONDS [PAIRS]]
#   e.g. scripts/wakeups_pair.sh build-before session build session 60 3
# The one started second reads about 2 % lower: compare a build with itself to see it.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
seconds=${5:-60}
pairs=${6:-3}
out=$(mktemp -d)
cpu() { sed -n 2p "$1" | awk '{print $3}'; }
for _ in $(seq "$pairs"); do
    bash "$here/wakeups.sh" "$1" "$seconds" "$2" >"$out/a" 2>&1 &
    first=$!
    sleep 0.5
    bash "$here/wakeups.sh" "$3" "$seconds" "$4" >"$out/b" 2>&1 &
    second=$!
    wait "$first" "$second"
    a=$(cpu "$out/a") b=$(cpu "$out/b")
    echo "$2 $a %  $4 $b %  ratio $(echo "scale=3; $b / $a" | bc -l)"
done
