#!/usr/bin/env bash
# Installs what is missing, builds Tallivo and its Debian package build/tallivo_*.deb
# (install it with: sudo apt install ./build/tallivo_*.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --package
scripts/build.sh -DTALLIVO_BUILD_TESTS=OFF -DTALLIVO_BUILD_BENCH=OFF
(cd build && cpack >/dev/null)
ls build/tallivo_*.deb
