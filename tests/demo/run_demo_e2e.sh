#!/usr/bin/env bash
# run_demo_e2e.sh PROGRAM DRIVER FAILED_DRIVER OUTDIR: starts the calibration demo on a private X
# server with openbox three times: with the stand-in driver beside it (the cards window lists
# two cards, File's first entry reopens it, Start runs the cycle), without a driver ("No Card
# Found"), and with the stand-in whose converter never answers (the failure prompt, Retry,
# Cancel). What the windows show is read from the demo's report (SETTINGS_DEMO_REPORT); windows,
# keys and timing from X itself.
set -euo pipefail
program=$1
driver=$2
failed_driver=$3
out=$4
rm -rf "$out"
mkdir -p "$out"
unset LD_LIBRARY_PATH

fail() {
    echo "e2e-demo: FAIL: $*" >&2
    [[ -n ${DISPLAY:-} ]] && import -window root "$out/failure.png" 2>/dev/null || true
    [[ -n ${run:-} && -e $run/report ]] && { echo "report:"; cat "$run/report"; } >&2
    [[ -n ${run:-} && -e $run/program.log ]] && { echo "log:"; cat "$run/program.log"; } >&2
    exit 1
}

# shellcheck source=../e2e/x_session.sh
source "$(dirname "$0")/../e2e/x_session.sh"
# reports KEY VALUE: the demo's report has the line KEY=VALUE.
reports() { grep -qxF "$1=$2" "$run/report"; }
reported() { sed -n "s/^$1=//p" "$run/report"; }
now_ms() { date +%s%3N; }


# start_demo NAME [LIBRARY]: the demo from a folder of its own, with LIBRARY beside it as
# libpxldrv.so (found through the program's $ORIGIN run path), up to its help window.
start_demo() {
    run="$out/$1"
    mkdir -p "$run"
    ln -f "$program" "$run/settings_demo" 2>/dev/null || cp "$program" "$run/settings_demo"
    [[ -n ${2:-} ]] && cp "$2" "$run/libpxldrv.so"
    SETTINGS_DEMO_REPORT="$run/report" "$run/settings_demo" >"$run/program.log" 2>&1 &
    prog_pid=$!
    wait_for "the Setup window" window_of Setup
    main=$(window_of Setup)
    wait_for "the cards window" window_of "KX-7140 Cards installed"
    cards=$(window_of "KX-7140 Cards installed")
    wait_for "the help window" window_of "Instructions for Settings utility"
    wait_for "the report" test -e "$run/report"
}

# hide_help: Esc in the help window (its Start button) hides it.
hide_help() {
    local help
    help=$(window_of "Instructions for Settings utility")
    xdotool windowactivate --sync "$help" key Escape
    wait_for "Esc to hide the help window" no_window "Instructions for Settings utility"
}

# press_start: the Start button has the main window's focus; Space presses it.
press_start() { xdotool windowactivate --sync "$main" key space; }

# end_demo: File, Exit ends the program with exit code 0.
end_demo() { exit_by_menu "$main" "$run/program.log"; }

# ---------------------------------------------------------------- the stand-in driver beside it
start_demo with-driver "$driver"
wait_for "the two cards in the cards window" reports cards \
    "Card 0: serial 1000, I/O at 0xE000 | Card 1: serial 1001, I/O at 0xE100"
reports header "KX-7140 Series Settings Program" || fail "header reads '$(reported header)'"
reports file_first "Display KX-7140 Cards Installed" || fail "File's first entry is '$(reported file_first)'"
[[ $(size_of "$cards") == 305x122 ]] || fail "cards window client area is $(size_of "$cards"), not 305x122"
xprop -id "$cards" _NET_WM_STATE | grep -q ABOVE || fail "the cards window does not stay on top"
import -window root "$out/cards.png"

# Close hides the window (Esc presses it); File's first entry shows it again.
xdotool windowactivate --sync "$cards" key Escape
wait_for "Close to hide the cards window" no_window "KX-7140 Cards installed"
xdotool windowactivate --sync "$main" key alt+f
sleep 0.3
xdotool key Return
wait_for "File's first entry to reopen the cards window" window_of "KX-7140 Cards installed"
wait_for "the report to say the cards window is shown" reports cards_window shown

# Start runs the cycle: the button reads Stop, the hint goes, the lines change.
hide_help
press_start
wait_for "the cycle to run" reports calibrating yes
wait_for "the first readings" bash -c "grep -q '^channels=Channel 0.*V' '$run/report'"
reports button Stop || fail "the button reads '$(reported button)' while the cycle runs"
reports hint hidden || fail "the hint is still shown while the cycle runs"
first=$(reported channels)
wait_for "the readings to change" bash -c "[[ \$(sed -n 's/^channels=//p' '$run/report') != '$first' ]]"
import -window root "$out/calibration.png"
press_start
wait_for "Stop to end the cycle" reports calibrating no
reports button Start || fail "the button reads '$(reported button)' after Stop"
end_demo

# ---------------------------------------------------------------- no driver
start_demo no-driver
wait_for "No Card Found" reports cards "No Card Found"
reports header "No KX-7140 Series Card Found" || fail "header reads '$(reported header)'"
import -window root "$out/no-card.png"
end_demo

# ---------------------------------------------------------------- a converter that never answers
start_demo failed-converter "$failed_driver"
wait_for "the two cards" bash -c "grep -q '^cards=Card 0.* | Card 1' '$run/report'"
hide_help
press_start
wait_for "the failure prompt" window_of "Total A/D failure"
box=$(window_of "Total A/D failure")
xprop -id "$box" _NET_WM_STATE | grep -q ABOVE || fail "the failure prompt does not stay on top"
wait_for "the report to say the cycle waits behind its prompt" reports calibrating no
import -window root "$out/failure-prompt.png"

# Retry (Cancel is the default button, so Tab moves to Retry): the prompt closes and the next
# poll, 100 ms later, brings a new one.
t0=$(now_ms)
xdotool windowactivate --sync "$box" key Tab key space
again=
for _ in $(seq 300); do
    again=$(xdotool search --onlyvisible --name '^Total A/D failure$' | grep -vx "$box" | head -n 1 || true)
    [[ -n $again ]] && break
    sleep 0.02
done
t1=$(now_ms)
[[ -n $again ]] || fail "Retry did not bring the prompt back"
((t1 - t0 >= 100)) || fail "the prompt came back after $((t1 - t0)) ms, before the 100 ms tick"
((t1 - t0 < 5000)) || fail "the prompt came back only after $((t1 - t0)) ms"
echo "e2e-demo: Retry brought the prompt back after $((t1 - t0)) ms"

# Cancel ends the cycle: no new prompt, and the button reads Start again.
xdotool windowactivate --sync "$again" key Escape
wait_for "Cancel to close the prompt" no_window "Total A/D failure"
wait_for "the button to read Start" reports button Start
reports calibrating no || fail "the cycle runs on after Cancel"
sleep 0.5
no_window "Total A/D failure" || fail "a prompt came back after Cancel"
end_demo
echo "e2e-demo: passed (screenshots in $out)"
