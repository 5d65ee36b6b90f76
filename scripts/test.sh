#!/usr/bin/env bash
# Installs what is missing, builds Tallivo with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --tests
scripts/build.sh -DTALLIVO_BUILD_TESTS=ON -DTALLIVO_BUILD_BENCH=ON

runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"
# A home of its own, so that what one run leaves (a file dialog's last folder) cannot steer the next.
mkdir -m 700 "$runtime/home"
export HOME="$runtime/home"
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --timeout 600
