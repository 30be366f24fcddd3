#!/usr/bin/env bash
# run_e2e.sh PROGRAM OUTDIR: starts the program on a private X server with openbox, checks the
# main window, the help window and the support window, and ends it through File, Exit.
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

# A private display: Xvfb picks a free number and tells us through a pipe.
exec 5< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r -t 20 display_no <&5 || fail "Xvfb did not start"
export DISPLAY=":$display_no"
# openbox runs its start-up command once it manages windows; a window mapped before that can be
# left unmapped for good.
rm -f "$out/wm-ready"
openbox --startup "touch $out/wm-ready" >/dev/null 2>&1 &
wm_pid=$!
prog_pid=
cleanup() {
    [[ -n $prog_pid ]] && kill "$prog_pid" 2>/dev/null || true
    kill "$wm_pid" "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# wait_for DESCRIPTION COMMAND...: polls up to 30 s for a command to succeed (a sanitizer
# build under load starts slowly).
wait_for() {
    local what=$1
    shift
    for _ in $(seq 300); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    fail "timed out waiting for $what"
}
window_of() { xdotool search --onlyvisible --name "^$1\$" | head -n 1; }
size_of() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

wait_for "the window manager" test -e "$out/wm-ready"
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

# Esc hides the help window; Help, How to use this program shows it again.
xdotool windowactivate --sync "$help" key Escape
wait_for "Esc to hide the help window" bash -c "! xdotool search --onlyvisible --name '^Instructions for Settings utility\$' | grep -q ."
# With the help window gone, the middle of the main window shows the green card.
import -window root "$out/board.png"
read -r r g b < <(convert "$out/board.png" -crop 500x300+262+280 -resize 1x1\! -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:)
((g > r + 20 && g > b + 20)) || fail "no card photograph in the middle of the window (mean colour $r $g $b)"
xdotool windowactivate --sync "$main" key alt+h key o
wait_for "Help to reopen the help window" window_of "Instructions for Settings utility"

# Help, Technical Support shows the support window.
xdotool windowactivate --sync "$main" key alt+h key t
wait_for "the support window" window_of "Technical Support"
tech=$(window_of "Technical Support")
[[ $(size_of "$tech") == 305x122 ]] || fail "support window client area is $(size_of "$tech"), not 305x122"
import -window root "$out/support.png"

# File, Exit ends the program with exit code 0.
xdotool windowactivate --sync "$main" key alt+f key e
for _ in $(seq 300); do
    kill -0 "$prog_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$prog_pid" 2>/dev/null && fail "File, Exit did not end the program"
set +e
wait "$prog_pid"
code=$?
set -e
prog_pid=
[[ $code == 0 ]] || fail "the program exited with code $code: $(cat "$log")"
echo "e2e: passed (screenshots in $out)"
