#!/usr/bin/env bash
# The real program under Xvfb: its main window appears titled "Tallivo", a screenshot is
# taken, and a termination request ends it cleanly with its settings saved.
source "$(dirname "$0")/e2e_lib.bash"
e2e_start "$1"
e2e_launch

e2e_answer_warning 8
window=$(e2e_wait_main_window 20) || e2e_fail "la fenêtre principale n'apparaît pas"
xwininfo -id "$window" | grep -q 'Map State: IsViewable' || e2e_fail "fenêtre non affichée"
shots=${TALLIVO_SCREENSHOTS:-$work}
import -window root "$shots/main-window.png" || e2e_fail "capture impossible"

e2e_stop
grep -q '^\[MainW\]' "$work/tallivo.ini" || e2e_fail "réglages non enregistrés à la sortie"
