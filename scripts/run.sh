#!/usr/bin/env bash
# Installs what is missing, builds Tallivo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DTALLIVO_BUILD_TESTS=OFF -DTALLIVO_BUILD_BENCH=OFF

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Pas d'écran graphique : Tallivo démarre sous Xvfb (écran virtuel :99)."
    echo "Pour le voir : DISPLAY=:99 import -window root capture.png"
    exec xvfb-run -n 99 -s "-screen 0 1024x768x24 -nolisten tcp" build/tallivo
fi
exec build/tallivo
