# Sourced by the end-to-end scripts: a private X server with openbox, and the helpers they share.
# The caller defines fail() and sets $out before sourcing; cleanup kills $prog_pid if set.

# A private display (1024x768 unless XVFB_SCREEN says otherwise): Xvfb picks a free number and
# tells us through a pipe.
exec 5< <(Xvfb -displayfd 1 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp 2>/dev/null)
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
no_window() { ! xdotool search --onlyvisible --name "^$1\$" | grep -q .; }
size_of() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
# geometry_of WINDOW: sets X, Y, WIDTH, HEIGHT to the client area on the screen.
geometry_of() {
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X:/ {print "X=" $4} /Absolute upper-left Y:/ {print "Y=" $4} /Width:/ {print "WIDTH=" $2} /Height:/ {print "HEIGHT=" $2}')"
}
# exit_by_menu MAIN-WINDOW LOG: File, Exit must end the program ($prog_pid) with exit code 0.
exit_by_menu() {
    xdotool windowactivate --sync "$1" key alt+f key e
    for _ in $(seq 300); do
        kill -0 "$prog_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$prog_pid" 2>/dev/null && fail "File, Exit did not end the program"
    set +e
    wait "$prog_pid"
    local code=$?
    set -e
    prog_pid=
    [[ $code == 0 ]] || fail "the program exited with code $code: $(cat "$2")"
}

wait_for "the window manager" test -e "$out/wm-ready"
