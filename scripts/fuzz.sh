#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan + UBSan) and runs each one from its seed corpus.
#   scripts/fuzz.sh [SECONDS [TARGET...]]    SECONDS per target (default 15), every target;
#   0 replays the seed corpus only (what the test suite does, so that it never depends on luck)
# The build folder is build-fuzz (or $TALLIVO_FUZZ_BUILD). New inputs found go to a temporary
# folder; a crash or a failed round trip leaves its input as BUILD/crash-TARGET-*.
# Exit 77 (skipped) when clang or libFuzzer is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
shift || true

if ! command -v clang++ >/dev/null ||
    [[ ! -e "$(clang++ -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a" ]]; then
    echo "clang ou libFuzzer absent (scripts/deps.sh --tests) : fuzzing non lancé"
    exit 77
fi

build=${TALLIVO_FUZZ_BUILD:-build-fuzz}
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTALLIVO_BUILD_FUZZ=ON -DTALLIVO_BUILD_TESTS=OFF -DTALLIVO_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j2

targets=("$@")
if ((${#targets[@]} == 0)); then
    for source in fuzz/*_fuzz.cpp; do
        name=$(basename "$source")
        targets+=("${name%_fuzz.cpp}")
    done
fi

found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
status=0
for target in "${targets[@]}"; do
    mkdir -p "$found/$target"
    echo "== $target ($seconds s)"
    limit=(-max_total_time="$seconds")
    ((seconds > 0)) || limit=(-runs=0)
    if ! "$build/fuzz/fuzz_$target" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/crash-$target-" \
        "$found/$target" "fuzz/corpus/$target" 2>&1 | tail -n 40; then
        status=1
    fi
done
exit $status
