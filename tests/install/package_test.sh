#!/usr/bin/env bash
# The Debian package as a user gets it: built by CPack, unpacked into a temporary root, its
# file list, menu entry and software-centre description checked, and the unpacked program
# started with a fresh home: its window appears and it writes in the user's data folder only.
# As root with CI=true it is also installed with apt, run from the PATH and removed.
# $1 is the build folder.
source "$(dirname "$0")/../e2e/e2e_lib.bash"
build=$1
e2e_start_display

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; e2e_fail "le paquet ne se construit pas"; }
deb=$(echo "$work"/package/tallivo_*.deb)
[[ -f "$deb" ]] || e2e_fail "pas de paquet tallivo_*.deb"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || e2e_fail "dépendances non calculées"
dpkg-deb -f "$deb" Depends | grep -qw 'libcurl4' || e2e_fail "libcurl4, chargée à l'usage, manque aux dépendances"
dpkg-deb -f "$deb" Recommends | grep -qw 'ppp' || e2e_fail "ppp n'est pas recommandé"

root=$work/root
dpkg -x "$deb" "$root"
expected="usr/bin/tallivo
usr/share/applications/org.example.tallivo.desktop
$(for size in 16 22 24 32 48 64 128 256; do echo "usr/share/icons/hicolor/${size}x${size}/apps/tallivo.png"; done)
usr/share/icons/hicolor/scalable/apps/tallivo.svg
usr/share/metainfo/org.example.tallivo.metainfo.xml
usr/share/tallivo/default.wav"
files_in_root() { (cd "$root" && find . -type f -printf '%P\n' | sort); }
[[ "$(files_in_root)" == "$(sort <<<"$expected")" ]] ||
    e2e_fail "fichiers du paquet inattendus : $(diff <(sort <<<"$expected") <(files_in_root))"
desktop-file-validate "$root/usr/share/applications/org.example.tallivo.desktop" ||
    e2e_fail "entrée de menu invalide"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.tallivo.metainfo.xml" ||
    e2e_fail "description AppStream invalide"

# Runs the program named by $e2e_program with an empty home and the simulated modem; its
# settings must end up in the home's data folder, its autostart entry must start it.
run_with_fresh_home() {
    export HOME="$work/home-$1"
    unset XDG_DATA_HOME
    local data="$HOME/.local/share/Tallivo"
    mkdir -p "$data"
    printf '[Dialup]\nProvider=simulation\n' >"$data/tallivo.ini"
    e2e_launch
    e2e_wait_main_window 20 >/dev/null || e2e_fail "la fenêtre principale n'apparaît pas ($1)"
    e2e_stop
    grep -q '^\[MainW\]' "$data/tallivo.ini" || e2e_fail "réglages absents de $data ($1)"
    [[ -f "$data/tallivo-modem.ini" ]] || e2e_fail "modem simulé absent de $data ($1)"
    grep -qx "Exec=$(command -v "$e2e_program")" "$XDG_CONFIG_HOME/autostart/Tallivo.desktop" ||
        e2e_fail "le démarrage automatique ne lance pas $e2e_program ($1)"
}

e2e_program=$root/usr/bin/tallivo
run_with_fresh_home unpacked
[[ "$(files_in_root)" == "$(sort <<<"$expected")" ]] ||
    e2e_fail "le programme a écrit à côté de lui : $(files_in_root | grep -v default.wav)"

if [[ "${CI:-}" != true || $(id -u) -ne 0 ]]; then
    exit 0
fi
if dpkg-query -W -f='${Status}' tallivo 2>/dev/null | grep -q 'install ok installed'; then
    echo "tallivo est déjà installé sur cette machine : installation par apt non essayée"
    exit 0
fi
export DEBIAN_FRONTEND=noninteractive
apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; e2e_fail "apt install du paquet échoue"; }
dpkg -L tallivo >"$work/installed"
e2e_program=tallivo
run_with_fresh_home system
apt-get -o DPkg::Lock::Timeout=600 remove -y -q tallivo >>"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; e2e_fail "apt remove échoue"; }
while read -r path; do
    if [[ ! -d "$path" || -L "$path" ]] && [[ -e "$path" || -L "$path" ]]; then
        e2e_fail "$path reste après apt remove"
    fi
done <"$work/installed"
[[ ! -e /usr/share/tallivo ]] || e2e_fail "/usr/share/tallivo reste après apt remove"
[[ -z "$(compgen -G '/usr/bin/tallivo*')" ]] || e2e_fail "fichiers restés dans /usr/bin"
