#!/usr/bin/env bash
# Measures how often the program wakes up and how much CPU it takes, on a private X display
# (Xvfb, openbox, trayer) with the simulated modem and its main window shown.
#   scripts/wakeups.sh [BUILD [SECONDS [session|hidden|idle|bare|bare-title|counters|raster|xcb]]]
#   defaults: build 30 session
# "session" clicks "Connecter", picks the first simulated entry and waits 15 s for the
# session to settle; "hidden" then also clicks "Cacher la fenêtre" (the mini window alone);
# "idle" measures the program not connected. "bare" and "bare-title" measure instead the bare
# Qt window of bench/reference (two labels a second, and its caption with the clock): the
# floor any Qt program pays for such a second here; "counters" the nine counters a session's
# second repaints in the two windows, drawn as the program draws them, and nothing else;
# "raster" the same two texts painted by Qt without its widgets, "xcb" drawn by the X server
# with no toolkit at all. Per thread: voluntary context switches (wake-ups) and preemptions a
# second, CPU from the scheduler's accounting; the X server's CPU and how often it is woken,
# too. Screenshots and the program's log stay in the printed folder.
# With WAKEUPS_CALLGRIND=1 the program runs under callgrind instead, its waits five times as
# long, and the count of instructions it ran during the measured seconds is printed: a figure
# that the machine's load does not blur (cold caches aside).
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-30}
mode=${3:-session}

work=$(mktemp -d)
mkdir -p "$work/runtime" "$work/config" "$work/tmp"
chmod 700 "$work/runtime"
cp "$build/tallivo" "$build"/*.wav "$work/"
printf '[Dialup]\nProvider=simulation\n[MainW]\nHeureAuto=0\n' >"$work/tallivo.ini"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp"
unset QT_QPA_PLATFORM
run=() slow=1
if [[ -n ${WAKEUPS_CALLGRIND:-} ]]; then
    run=(valgrind --tool=callgrind "--callgrind-out-file=$work/callgrind.%p")
    slow=5
fi
pause() { sleep "$(echo "$1 * $slow" | bc -l)"; }

while :; do
    display=$((200 + RANDOM % 700))
    [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]] || break
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
program='' openbox='' trayer=''
cleanup() {
    for pid in $program $trayer $openbox; do kill "$pid" 2>/dev/null || true; done
    sleep 0.5
    [[ -n $program ]] && kill -9 "$program" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X$display ]] && break
    sleep 0.1
done
export DISPLAY=":$display"
openbox >"$work/openbox.log" 2>&1 &
openbox=$!
trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 \
    >"$work/trayer.log" 2>&1 &
trayer=$!
sleep 1
case $mode in
bare) (cd "$work" && exec "${run[@]}" "$build/bench/bare_window" >"$work/program.log" 2>&1) & ;;
bare-title) (cd "$work" && exec "${run[@]}" "$build/bench/bare_window" --clock-caption >"$work/program.log" 2>&1) & ;;
counters) (cd "$work" && exec "${run[@]}" "$build/bench/counters_window" >"$work/program.log" 2>&1) & ;;
raster) (cd "$work" && exec "${run[@]}" "$build/bench/raster_window" >"$work/program.log" 2>&1) & ;;
xcb) (cd "$work" && exec "${run[@]}" "$build/bench/xcb_window" >"$work/program.log" 2>&1) & ;;
*) (cd "$work" && exec "${run[@]}" ./tallivo >"$work/program.log" 2>&1) & ;;
esac
program=$!

main='' tries=0
[[ $mode == bare* || $mode == counters || $mode == raster || $mode == xcb ]] && pause 3 && main=bare
# The main window: the one at least 550 pixels wide.
while [[ -z $main ]] && ((++tries <= 200 * slow)); do
    for id in $(xdotool search --onlyvisible --class tallivo 2>/dev/null || true); do
        width=$(xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {print $2}')
        [[ -n $width ]] && ((width >= 550)) && main=$id
    done
    [[ -z $main ]] && sleep 0.1
done
[[ -z $main ]] && { echo "pas de fenêtre principale" >&2; exit 1; }
pause 2
if [[ $mode == session || $mode == hidden ]]; then
    eval "$(xdotool getwindowgeometry --shell "$main")"
    # "Connecter", the first button under the group box; the chooser's first entry.
    xdotool mousemove $((X + 78)) $((Y + 261)) click 1
    pause 1.5
    xdotool key Return
    if [[ $mode == hidden ]]; then
        pause 3
        xdotool mousemove $((X + 484)) $((Y + 261)) click 1 # "Cacher la fenêtre"
    fi
    pause 15
fi

threads() { # tid name voluntary nonvoluntary cpu-ns
    for task in /proc/"$program"/task/*; do
        echo "${task##*/} $(tr ' ' _ <"$task/comm")" \
            "$(awk '/^voluntary_ctxt/ {v=$2} /^nonvoluntary_ctxt/ {n=$2} END {print v, n}' \
                "$task/status")" "$(cut -d' ' -f1 "$task/schedstat")"
    done | sort
}
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{s += $1} END {printf "%.0f\n", s}'; }
switches() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt/ {s += $2} END {print s}'; }
threads >"$work/before"
[[ ${#run[@]} -gt 0 ]] && callgrind_control -z "$program" >/dev/null 2>&1
program0=$(cpu_ns "$program") xvfb0=$(cpu_ns "$xvfb") xvfbWakes0=$(switches "$xvfb") start=$(date +%s.%N)
sleep "$seconds"
threads >"$work/after"
if [[ ${#run[@]} -gt 0 ]]; then
    callgrind_control -d "$program" >/dev/null 2>&1
    sleep 1
    echo "instructions: $(callgrind_annotate "$work"/callgrind.*.1 2>/dev/null |
        awk '/PROGRAM TOTALS/ {print $1}')"
fi
program1=$(cpu_ns "$program") xvfb1=$(cpu_ns "$xvfb") xvfbWakes1=$(switches "$xvfb") end=$(date +%s.%N)
import -window root "$work/shot.png" 2>/dev/null || true

elapsed=$(echo "$end - $start" | bc -l)
printf '%s, %.1f s\n' "$mode" "$elapsed"
echo "CPU: program $(echo "scale=4; ($program1 - $program0) / 10000000 / $elapsed" | bc -l) %," \
    "Xvfb $(echo "scale=4; ($xvfb1 - $xvfb0) / 10000000 / $elapsed" | bc -l) %," \
    "woken $(echo "scale=2; ($xvfbWakes1 - $xvfbWakes0) / $elapsed" | bc -l) times a second"
join "$work/before" "$work/after" | awk -v t="$elapsed" '{
    w = ($7 - $3) / t; p = ($8 - $4) / t; c = ($9 - $5) / 1e7 / t; W += w; P += p
    printf "  %-8s %-16s %6.2f wake-ups/s  %6.2f preempted/s  %.4f %% CPU\n", $1, $2, w, p, c }
    END { printf "  all threads      %6.2f wake-ups/s  %6.2f preempted/s\n", W, P }'
echo "$work"
