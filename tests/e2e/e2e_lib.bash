# Shared steps of the end-to-end tests: a private X server, a private copy of the program.
# Sourced by the test scripts; $1 of the script is the built executable.

set -euo pipefail

e2e_start() {
    e2e_start_display
    cp "$1" "$work/tallivo"
}

# A temporary folder $work with private runtime, config and temporary folders, and Xvfb.
e2e_start_display() {
    work=$(mktemp -d)
    mkdir -p "$work/runtime" "$work/config" "$work/tmp"
    chmod 700 "$work/runtime"
    export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp"
    unset QT_QPA_PLATFORM
    Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s "$work/display" ]] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$work/display")"
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    [[ -n "${program_pid:-}" ]] && kill -9 "$program_pid" 2>/dev/null || true
    [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}

# Starts the program copy (optionally under faketime: e2e_launch 'faketime ...'), or the
# program named by $e2e_program.
e2e_launch() {
    (cd "$work" && exec ${1:-} "${e2e_program:-./tallivo}" >"$work/program.log" 2>&1) &
    program_pid=$!
}

# Asks the program to end as logging off does; it must end within 10 s with status 0.
e2e_stop() {
    kill -TERM "$program_pid"
    for _ in $(seq 100); do
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$program_pid" 2>/dev/null && e2e_fail "le programme ne s'arrête pas"
    local status
    wait "$program_pid" && status=0 || status=$?
    program_pid=
    ((status == 0)) || e2e_fail "code de sortie $status"
}

# Waits for a visible window whose title matches the pattern; prints its id.
e2e_wait_window() {
    local pattern=$1 seconds=${2:-20}
    for _ in $(seq $((seconds * 10))); do
        local id
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)
        if [[ -n "$id" ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Waits for a visible window of the program whose width lies between the bounds; prints its
# id. The windows are told apart by their width: the tray icon, the mini window (104), the
# splash (300), the main window (550 and more).
e2e_wait_window_width() {
    local min=$1 max=$2 seconds=${3:-20}
    for _ in $(seq $((seconds * 10))); do
        local id width
        for id in $(xdotool search --onlyvisible --class tallivo 2>/dev/null || true); do
            width=$(xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {print $2}')
            if [[ -n "$width" ]] && ((width >= min && width <= max)); then
                echo "$id"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}

# Waits for the main window; prints its id.
e2e_wait_main_window() {
    e2e_wait_window_width 550 100000 "${1:-20}"
}

# Answers the warning shown when no dial-up entry exists, if it comes.
e2e_answer_warning() {
    local box
    if box=$(e2e_wait_window '^Avertissement$' "${1:-6}"); then
        xdotool windowfocus --sync "$box" key Return
    fi
}

e2e_fail() {
    echo "ÉCHEC : $*" >&2
    echo "--- journal du programme ---" >&2
    cat "$work/program.log" >&2 || true
    exit 1
}
