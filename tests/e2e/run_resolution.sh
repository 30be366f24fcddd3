#!/usr/bin/env bash
# run_resolution.sh PROGRAM OUTDIR MODE: the program on a screen of another resolution.
#   dpi144  a 1536x1152 screen at 144 logical dots per inch, the toolkit's own scaling off: the
#           layer scales its windows by 1.5.
#   scale2  a 2048x1536 screen at a device pixel ratio of 2: the toolkit scales, and the text, the
#           jumper drawings and the glows the layer paints must be drawn at device resolution.
# In both, the windows come out the factor larger than at 96, the circles glow over the jumpers
# of the photograph, and the tool window opens at its scaled size.
set -euo pipefail
program=$1
out=$2/$3
mode=$3
mkdir -p "$out"
log="$out/program.log"

fail() {
    echo "resolution e2e ($mode): FAIL: $*" >&2
    [[ -n ${DISPLAY:-} ]] && import -window root "$out/failure.png" 2>/dev/null || true
    exit 1
}

case $mode in
dpi144)
    XVFB_SCREEN=1536x1152x24
    run_env=(QT_FONT_DPI=144 QT_ENABLE_HIGHDPI_SCALING=0)
    num=3 den=2
    ;;
scale2)
    XVFB_SCREEN=2048x1536x24
    run_env=(QT_SCALE_FACTOR=2)
    num=2 den=1
    ;;
*) fail "unknown mode $mode" ;;
esac
# k LENGTH: a length at 96 on this screen, in device pixels.
k() { echo $((($1 * num + den / 2) / den)); }

# shellcheck source=x_session.sh
source "$(dirname "$0")/x_session.sh"
# near WINDOW-TITLE WIDTH HEIGHT: the window's client area is the factor times the size at 96,
# give or take the rounding of the scaled lengths.
near() {
    local w h got
    got=$(size_of "$(window_of "$1")")
    w=${got%x*} h=${got#*x}
    local ew eh
    ew=$(k "$2") eh=$(k "$3")
    ((w >= ew - 3 && w <= ew + 3 && h >= eh - 3 && h <= eh + 3)) ||
        fail "$1 is $got, not about ${ew}x${eh}"
}

env "${run_env[@]}" "$program" >"$log" 2>&1 &
prog_pid=$!

wait_for "the Setup window" window_of Setup
main=$(window_of Setup)
wait_for "the Setup window to be maximised" \
    bash -c "xprop -id $main _NET_WM_STATE | grep -q MAXIMIZED_VERT"
wait_for "the help window" window_of "Instructions for Settings utility"
near "Instructions for Settings utility" 390 177
help=$(window_of "Instructions for Settings utility")
import -window root "$out/help.png"

xdotool windowactivate --sync "$help" key Escape
wait_for "the tour's first window" window_of "High Voltage Level"
near "High Voltage Level" 233 182
import -window root "$out/level.png"

# The photograph centred on the main window's outer size, under the menu bar; every circle's ring
# glows where the jumper is.
geometry_of "$main"
mx=$X my=$Y mw=$WIDTH
read -r fl fr ft fb < <(xprop -id "$main" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
board_x=$((mx + (WIDTH + fl + fr - $(k 600)) / 2))
board_y=$((my + $(k 20) + (HEIGHT + ft + fb - $(k 418)) / 2))
for c in "373 2 43 26" "105 5 37 57" "444 94 43 26" "539 94 43 26"; do
    read -r cl ct cw chh <<<"$c"
    # The circle's edges scale, and its ring lies 7/8 of the way out at the scaled size.
    left=$(k "$cl") top=$(k "$ct")
    w=$(($(k $((cl + cw))) - left)) h=$(($(k $((ct + chh))) - top))
    x=$((board_x + left + w / 2 + (w / 2) * 7 / 8))
    y=$((board_y + top + h / 2))
    read -r r g b < <(convert "$out/level.png" -crop "1x1+$x+$y" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:)
    # Yellow, or the white crest of the circle whose window is active.
    (( (r > b + 60 && g > b + 60) || (r > 200 && g > 200) )) ||
        fail "circle $c does not glow at $x,$y ($r $g $b)"
done

if [[ $mode == scale2 ]]; then
    # fine NAME X Y WIDTH HEIGHT [PART]: the part of the screenshot at device pixels X, Y (even
    # distances from a window's origin) was drawn at device resolution, not enlarged.
    fine() {
        convert "$out/level.png" -crop "$4x$5+$2+$3" "$out/$1.ppm"
        /usr/bin/python3 "$(dirname "$0")/fine_pixels.py" "$out/$1.ppm" "$1" "${6:-0.2}" ||
            fail "the $1 is enlarged, not drawn at device resolution"
    }
    # The heading across the top of the main window, and the voltage jumper's drawing (at
    # 160, 40 of its panel, 43 x 18), both painted by the layer.
    fine heading $((mx + mw / 2 - $(k 150))) $((my + $(k 20))) "$(k 300)" "$(k 28)"
    geometry_of "$(window_of "High Voltage Level")"
    fine jumper $((X + $(k 160))) $((Y + $(k 40))) "$(k 43)" "$(k 18)"
    # The voltage circle's ring over the photograph (which itself is only enlarged): inside and
    # outside the ring the blocks stay one colour, on the ring they do not.
    ring_x=$((board_x + $(k 373))) ring_y=$((board_y + $(k 2)))
    fine ring $((ring_x - (ring_x - mx) % 2)) $((ring_y - (ring_y - my) % 2)) "$(k 44)" "$(k 27)" 0.05
fi

exit_by_menu "$main" "$log"
echo "resolution e2e ($mode): passed (screenshots in $out)"
