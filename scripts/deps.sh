#!/usr/bin/env bash
# Installs the Debian 12 packages Tallivo needs that are not installed yet.
#   scripts/deps.sh          what building and running the program needs
#   scripts/deps.sh --tests  also what the test suite needs
#   scripts/deps.sh --package  also what building the Debian package needs
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev qt6-translations-l10n
    libcurl4-openssl-dev libcups2-dev libxcb1-dev libgtest-dev libbenchmark-dev
    ppp xvfb xauth
)
if [[ "${1:-}" == "--tests" || "${1:-}" == "--package" ]]; then
    packages+=(dpkg-dev file)
fi
if [[ "${1:-}" == "--tests" ]]; then
    packages+=(
        x11-utils xdotool imagemagick openbox trayer wmctrl
        pulseaudio pulseaudio-utils sox
        iproute2 faketime python3 procps
        desktop-file-utils appstream
        xinetd rdate dbus-daemon python3-dbusmock
        clang libclang-rt-14-dev
        python3-pyftpdlib
        libreoffice-writer-nogui libreoffice-calc-nogui
        cups cups-client cups-filters poppler-utils
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installation des paquets manquants : ${missing[*]}"
sudo_prefix=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_prefix=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_prefix[@]}" apt-get -o DPkg::Lock::Timeout=600 update -q
"${sudo_prefix[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
