#!/usr/bin/env bash
# The real program under openbox with a notification area: the buttons that the window
# manager offers (none on the splash, the close box only on the main window), every way of
# showing the main window, the icon's menu, and the mini window's double click and drag.
source "$(dirname "$0")/e2e_lib.bash"
e2e_start "$1"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
openbox_pid=$!
trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 \
    >"$work/trayer.log" 2>&1 &
trayer_pid=$!
stop_desktop() {
    kill "$trayer_pid" "$openbox_pid" 2>/dev/null || true
    e2e_cleanup
}
trap stop_desktop EXIT
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

# What the window manager allows, once it has said it: it may map a window before.
actions() {
    local said=''
    for _ in $(seq 50); do
        said=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS 2>/dev/null || true)
        [[ $said == *_NET_WM_ACTION_* ]] && break
        sleep 0.1
    done
    echo "$said"
}
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
wait_viewable() {
    for _ in $(seq 50); do
        viewable "$1" && return 0
        sleep 0.1
    done
    return 1
}
wait_unmapped() {
    for _ in $(seq 50); do
        viewable "$1" || return 0
        sleep 0.1
    done
    return 1
}

e2e_launch
splash=$(e2e_wait_window '^Tallivo$' 10) || e2e_fail "pas d'écran d'accueil"
splash_actions=$(actions "$splash")
for action in MINIMIZE MAXIMIZE CLOSE; do
    [[ "$splash_actions" != *"_NET_WM_ACTION_$action"* ]] ||
        e2e_fail "l'écran d'accueil offre $action : $splash_actions"
done

e2e_answer_warning 8
main=$(e2e_wait_main_window 20) || e2e_fail "la fenêtre principale n'apparaît pas"
main_actions=$(actions "$main")
[[ "$main_actions" == *_NET_WM_ACTION_CLOSE* ]] || e2e_fail "pas de case de fermeture"
for action in MINIMIZE MAXIMIZE; do
    [[ "$main_actions" != *"_NET_WM_ACTION_$action"* ]] ||
        e2e_fail "la fenêtre principale offre $action : $main_actions"
done

window_position() { xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left [XY]/ {printf "%s ", $4}'; }

icon=$(e2e_wait_window_width 16 40 15) || e2e_fail "pas d'icône dans la zone de notification"
eval "$(xdotool getwindowgeometry --shell "$icon")"
icon_x=$((X + WIDTH / 2)) icon_y=$((Y + HEIGHT / 2))

# Minimising is refused: the main window cannot be left minimised without a task-bar button.
xdotool windowminimize "$main"
sleep 0.5
viewable "$main" || e2e_fail "la fenêtre principale a pu être réduite"

hide_main() {
    wmctrl -i -c "$main"
    wait_unmapped "$main" || e2e_fail "la fenêtre principale ne se cache pas"
}
# Closing the window through the window manager ends its native window: the main window
# shown again is found afresh.
expect_back() {
    main=$(e2e_wait_main_window 5) || e2e_fail "fenêtre principale non affichée après : $1"
}

hide_main
xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 120 1
expect_back "double clic sur l'icône"

# The icon's menu opens with its right edge at the mouse.
hide_main
xdotool mousemove "$icon_x" "$icon_y" click 3
# The menu: an override-redirect window taller than a tooltip.
popup_menu() {
    local id
    for id in $(xdotool search --onlyvisible --class tallivo 2>/dev/null || true); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
        (($(xwininfo -id "$id" 2>/dev/null | awk '/Height:/ {print $2}') > 60)) && echo "$id" && return 0
    done
    return 1
}
for _ in $(seq 50); do
    menu=$(popup_menu) && break
    sleep 0.1
done
[[ -n "${menu:-}" ]] || e2e_fail "le menu de l'icône ne s'ouvre pas"
eval "$(xdotool getwindowgeometry --shell "$menu")"
((X + WIDTH == icon_x)) || e2e_fail "menu de $X+$WIDTH, souris en $icon_x"
xdotool key o
expect_back "&Options..."

hide_main
(cd "$work" && timeout 30 ./tallivo >"$work/second.log" 2>&1) ||
    e2e_fail "la seconde copie ne se termine pas proprement"
expect_back "seconde copie"

# The chronometer shows the mini window.
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 39 150 click 1 sleep 0.3
xdotool mousemove --window "$main" 93 150 click 1
mini=$(e2e_wait_window_width 104 104 5) || e2e_fail "la mini fenêtre n'apparaît pas"

# Double clicks on a label and on the bare panel, each several times.
for place in "20 7" "3 8"; do
    for round in 1 2 3 4 5; do
        hide_main
        # shellcheck disable=SC2086
        xdotool mousemove --window "$mini" $place click --repeat 2 --delay 120 1
        expect_back "double clic $round en ($place) sur la mini fenêtre"
    done
done

# "Compteur toujours au premier plan" changes the stacking of the same window, in place.
xdotool mousemove --window "$main" 133 17 click 1 sleep 0.3
position=$(window_position "$mini")
for expected in no yes; do
    xdotool mousemove --window "$main" 22 281 click 1 sleep 0.5
    viewable "$mini" || e2e_fail "la mini fenêtre a été recréée ou cachée"
    [[ "$(window_position "$mini")" == "$position" ]] || e2e_fail "la mini fenêtre a bougé"
    above=$(xprop -id "$mini" _NET_WM_STATE | grep -c _NET_WM_STATE_ABOVE || true)
    [[ ($expected == yes && $above == 1) || ($expected == no && $above == 0) ]] ||
        e2e_fail "premier plan : $expected attendu ($(xprop -id "$mini" _NET_WM_STATE))"
done

# Dragged by a label, it follows the mouse.
read -r before_x before_y <<<"$(window_position "$mini")"
xdotool mousemove --window "$mini" 20 7 mousedown 1 sleep 0.2 mousemove_relative -- -10 10 \
    sleep 0.2 mousemove_relative -- -100 100 sleep 0.2 mousemove_relative -- -100 100 sleep 0.3 \
    mouseup 1
sleep 0.5
read -r after_x after_y <<<"$(window_position "$mini")"
((before_x - after_x > 100 && after_y - before_y > 100)) ||
    e2e_fail "la mini fenêtre ne suit pas la souris ($before_x,$before_y -> $after_x,$after_y)"

e2e_stop
