#!/usr/bin/env bash
# Installs what is missing, builds Tallivo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DTALLIVO_BUILD_TESTS=OFF -DTALLIVO_BUILD_BENCH=OFF

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    display=99
    while [[ -e /tmp/.X${display}-lock || -e /tmp/.X11-unix/X${display} ]]; do
        display=$((display + 1))
    done
    echo "Pas d'écran graphique : Tallivo démarre sous Xvfb (écran virtuel :${display})."
    # The virtual display asks for this authorisation file: the hint names it.
    authfile=$(mktemp "${TMPDIR:-/tmp}/tallivo-xvfb.XXXXXX")
    echo "Pour le voir : XAUTHORITY=${authfile} DISPLAY=:${display} import -window root capture.png"
    exec xvfb-run -n "$display" -f "$authfile" -s "-screen 0 1024x768x24 -nolisten tcp" build/tallivo
fi
exec build/tallivo
