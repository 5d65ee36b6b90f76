#!/usr/bin/env bash
# The X server goes away during a chronometer run (a logout without a session manager): Qt
# ends the program at once, and the run is on disk as it stood, not as at its last
# half-minute checkpoint.
source "$(dirname "$0")/e2e_lib.bash"
e2e_start "$1"
printf '[MainW]\r\nHeureAuto=0\r\n' >"$work/tallivo.ini"
e2e_launch

e2e_answer_warning 8
main=$(e2e_wait_main_window 20) || e2e_fail "la fenêtre principale n'apparaît pas"
xdotool mousemove --window "$main" 39 150 click 1 sleep 0.3
xdotool mousemove --window "$main" 93 150 click 1
for _ in $(seq 50); do
    [[ -s "$work/tallivo.session" ]] && break
    sleep 0.1
done
[[ -s "$work/tallivo.session" ]] || e2e_fail "le chronomètre ne démarre pas"
sleep 5

kill "$xvfb_pid"
xvfb_pid=
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && e2e_fail "le programme survit à son serveur X"
program_pid=
duration=$(sed -n 's/^Duree=00:00:\([0-9]*\).*/\1/p' "$work/tallivo.session")
((10#${duration:-0} >= 4)) || e2e_fail "session gardée : $(tr -d '\r' <"$work/tallivo.session")"
