#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ (or $TALLIVO_SANITIZE_BUILD) and runs the whole suite there. An address
# error fails its test; any finding fails the run, its report kept in the folder printed.
#   scripts/sanitize.sh [CTEST ARGUMENTS...]    e.g. scripts/sanitize.sh -R Journal
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --tests
build=${TALLIVO_SANITIZE_BUILD:-build-sanitize}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLIVO_BUILD_TESTS=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -O1" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build"

runtime=$(mktemp -d)
chmod 700 "$runtime"
mkdir -m 700 "$runtime/home" "$runtime/reports"
export XDG_RUNTIME_DIR="$runtime" HOME="$runtime/home" QT_QPA_PLATFORM=offscreen
# Qt and the libraries below it keep memory to the end on purpose: leaks are not looked for.
export ASAN_OPTIONS="detect_leaks=0:log_path=$runtime/reports/asan"
export UBSAN_OPTIONS="print_stacktrace=1:log_path=$runtime/reports/ubsan"
status=0
(cd "$build" && ctest --output-on-failure --timeout 900 "$@") || status=$?
if compgen -G "$runtime/reports/*" >/dev/null; then
    echo "Rapports des vérificateurs : $runtime/reports"
    status=1
else
    rm -rf "$runtime"
fi
exit "$status"
