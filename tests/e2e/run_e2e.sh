#!/usr/bin/env bash
# run_e2e.sh PROGRAM OUTDIR: starts the program on a private X server with openbox and drives it
# with xdotool as a person would: the help window and the tour, the circles and their windows,
# Previous and Next, the Settings menu, the support window, and File, Exit.
set -euo pipefail
program=$1
out=$2
mkdir -p "$out"
log="$out/program.log"

fail() {
    echo "e2e: FAIL: $*" >&2
    [[ -n ${DISPLAY:-} ]] && import -window root "$out/failure.png" 2>/dev/null || true
    exit 1
}

# shellcheck source=x_session.sh
source "$(dirname "$0")/x_session.sh"

"$program" >"$log" 2>&1 &
prog_pid=$!

wait_for "the Setup window" window_of Setup
main=$(window_of Setup)
wait_for "the Setup window to be maximised" \
    bash -c "xprop -id $main _NET_WM_STATE | grep -q MAXIMIZED_VERT"

wait_for "the help window" window_of "Instructions for Settings utility"
help=$(window_of "Instructions for Settings utility")
[[ $(size_of "$help") == 390x177 ]] || fail "help window client area is $(size_of "$help"), not 390x177"
xprop -id "$help" _NET_WM_STATE | grep -q ABOVE || fail "help window does not stay on top"
import -window root "$out/help.png"

# Esc hides the help window and starts the tour: the voltage window opens, pinned.
xdotool windowactivate --sync "$help" key Escape
wait_for "Esc to hide the help window" bash -c "! xdotool search --onlyvisible --name '^Instructions for Settings utility\$' | grep -q ."
wait_for "the tour's first window" window_of "High Voltage Level"
level=$(window_of "High Voltage Level")
[[ $(size_of "$level") == 233x182 ]] || fail "voltage window client area is $(size_of "$level"), not 233x182"
# With the help window gone, the middle of the main window shows the green card.
import -window root "$out/board.png"
read -r r g b < <(convert "$out/board.png" -crop 500x300+262+280 -resize 1x1\! -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:)
((g > r + 20 && g > b + 20)) || fail "no card photograph in the middle of the window (mean colour $r $g $b)"

# Where the photograph is: centred on the main window's outer size (frame included), under the
# menu bar of the client area.
geometry_of "$main"
mx=$X my=$Y
read -r fl fr ft fb < <(xprop -id "$main" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
board_x=$((mx + (WIDTH + fl + fr - 600) / 2))
board_y=$((my + 20 + (HEIGHT + ft + fb - 418) / 2))
# pixel X Y: the colour at a screen point as "r g b".
pixel() {
    import -window root "$out/pixel.png"
    convert "$out/pixel.png" -crop "1x1+$1+$2" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:
}
# The ring of each circle, 7/8 of the way from its centre to its right edge.
ring() { echo $((board_x + $1 + $3 / 2 + ($3 / 2) * 7 / 8)) $((board_y + $2 + $4 / 2)); }
circles=("373 2 43 26" "105 5 37 57" "444 94 43 26" "539 94 43 26")
for c in "${circles[@]}"; do
    # shellcheck disable=SC2086
    read -r x y < <(ring $c)
    read -r r g b < <(pixel "$x" "$y")
    ((r > b + 60 && g > b + 60)) || fail "circle $c does not glow yellow at $x,$y ($r $g $b)"
done
read -r x y < <(ring 444 94 43 26)
read -r rest_r _ _ < <(pixel "$x" "$y")

# The pointer onto the right counter circle opens its window and lights both counter circles.
centre() { echo $((board_x + $1 + $3 / 2)) $((board_y + $2 + $4 / 2)); }
read -r cx cy < <(centre 539 94 43 26)
xdotool mousemove "$cx" "$cy"
wait_for "the counter window" window_of "Counter Pull Up/Down"
counter=$(window_of "Counter Pull Up/Down")
[[ $(size_of "$counter") == 313x166 ]] || fail "counter window client area is $(size_of "$counter"), not 313x166"
read -r lit_r _ _ < <(pixel "$x" "$y")
((lit_r > rest_r + 20)) || fail "the twin circle does not light ($rest_r to $lit_r)"
import -window root "$out/counter.png"
# Straight from the circle into the window: it stays; out of the window: it closes.
geometry_of "$counter"
xdotool mousemove $((X + 150)) $((Y + 30))
sleep 0.3
window_of "Counter Pull Up/Down" | grep -q . || fail "moving into the counter window closed it"
xdotool mousemove $((board_x + 300)) $((board_y + 400))
wait_for "the counter window to close when the pointer leaves it" bash -c "! xdotool search --onlyvisible --name '^Counter Pull Up/Down\$' | grep -q ."
# Onto the circle and away (not into the window): it closes.
xdotool mousemove "$cx" "$cy"
wait_for "the counter window again" window_of "Counter Pull Up/Down"
xdotool mousemove $((board_x + 300)) $((board_y + 400))
wait_for "the counter window to close when the pointer leaves the circle" bash -c "! xdotool search --onlyvisible --name '^Counter Pull Up/Down\$' | grep -q ."
# A click pins it: it stays after the pointer leaves, until Done.
xdotool mousemove "$cx" "$cy"
wait_for "the counter window once more" window_of "Counter Pull Up/Down"
xdotool click 1
xdotool mousemove $((board_x + 300)) $((board_y + 400))
sleep 0.5
window_of "Counter Pull Up/Down" | grep -q . || fail "a pinned window closed when the pointer left"
counter=$(window_of "Counter Pull Up/Down")
geometry_of "$counter"
xdotool mousemove $((X + 313 - 64 + 29)) $((Y + 166 - 44 + 12)) click 1
wait_for "Done to close the counter window" bash -c "! xdotool search --onlyvisible --name '^Counter Pull Up/Down\$' | grep -q ."

# In the voltage window a click on the jumper drawing checks "3.3 Volts": the radio buttons'
# marks change places.
geometry_of "$level"
lx=$X ly=$Y
import -window root "$out/level-before.png"
xdotool mousemove $((lx + 181)) $((ly + 49)) click 1
sleep 0.5
import -window root "$out/level-after.png"
mark() { convert "$1" -crop "13x13+$((lx + 17))+$((ly + $2))" -colorspace Gray -format '%[fx:int(1000*mean)]' info:; }
before3=$(mark "$out/level-before.png" 34) before5=$(mark "$out/level-before.png" 50)
after3=$(mark "$out/level-after.png" 34) after5=$(mark "$out/level-after.png" 50)
((after3 < before3 - 20 && after5 > before5 + 20)) ||
    fail "clicking the jumper did not check 3.3 Volts (marks $before3/$before5 to $after3/$after5)"

# gone WINDOW-TITLE: waits until no window of that title is shown.
gone() { wait_for "$1 to close" bash -c "! xdotool search --onlyvisible --name '^$1\$' | grep -q ."; }
# press BUTTON-X: clicks the button row of the only shown tool window at client x BUTTON-X.
press_in() {
    local w
    w=$(window_of "$1")
    geometry_of "$w"
    xdotool mousemove $((X + $2)) $((Y + HEIGHT - 44 + 12)) click 1
}
# The tour's window stays while the pointer is over the photograph; Next and Previous walk the
# Settings menu's order, each closing the window it was pressed in.
xdotool mousemove $((board_x + 300)) $((board_y + 400))
sleep 0.3
window_of "High Voltage Level" | grep -q . || fail "the pinned voltage window closed under the pointer"
walk=("High Voltage Level" "Digital Pull Up/Down" "Counter Pull Up/Down" "High Voltage Level")
for i in 1 2 3; do
    geometry_of "$(window_of "${walk[i - 1]}")"
    press_in "${walk[i - 1]}" $((WIDTH / 2))
    wait_for "Next to open ${walk[i]}" window_of "${walk[i]}"
    [[ ${walk[i]} == "${walk[i - 1]}" ]] || gone "${walk[i - 1]}"
done
back=("High Voltage Level" "Counter Pull Up/Down" "Digital Pull Up/Down" "High Voltage Level")
for i in 1 2 3; do
    press_in "${back[i - 1]}" 35
    wait_for "Previous to open ${back[i]}" window_of "${back[i]}"
    gone "${back[i - 1]}"
done
import -window root "$out/walk.png"
press_in "High Voltage Level" $((233 - 35))
gone "High Voltage Level"

# Alt+S opens the Settings menu; its D entry opens and pins the digital window, and again
# closes it.
xdotool windowactivate --sync "$main" key alt+s
sleep 0.5
import -window root "$out/settings-menu.png"
xdotool key d
wait_for "the digital window from the menu" window_of "Digital Pull Up/Down"
xdotool mousemove $((board_x + 300)) $((board_y + 400))
sleep 0.3
window_of "Digital Pull Up/Down" | grep -q . || fail "the window opened from the menu is not pinned"
xdotool windowactivate --sync "$main" key alt+s
sleep 0.3
xdotool key d
gone "Digital Pull Up/Down"
xdotool windowactivate --sync "$main" key alt+h key o
wait_for "Help to reopen the help window" window_of "Instructions for Settings utility"

# Help, Technical Support shows the support window.
xdotool windowactivate --sync "$main" key alt+h key t
wait_for "the support window" window_of "Technical Support"
tech=$(window_of "Technical Support")
[[ $(size_of "$tech") == 305x122 ]] || fail "support window client area is $(size_of "$tech"), not 305x122"
import -window root "$out/support.png"

# File, Exit ends the program with exit code 0.
exit_by_menu "$main" "$log"
echo "e2e: passed (screenshots in $out)"
