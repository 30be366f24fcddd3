#!/usr/bin/env bash
# run.sh BUILD_DIR [RUNS]: start-up to first frame of the real program against the bare Qt
# program, alternating runs on one private X server with openbox; prints both medians and
# their ratio.
set -euo pipefail
build=$1
runs=${2:-21}
exec 5< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r -t 20 display_no <&5
export DISPLAY=":$display_no"
ready=$(mktemp -u)
# openbox runs its start-up command once it manages windows.
openbox --startup "touch $ready" >/dev/null 2>&1 &
wm_pid=$!
trap 'kill $wm_pid $xvfb_pid 2>/dev/null || true; rm -f $ready' EXIT
for _ in $(seq 300); do [[ -e $ready ]] && break; sleep 0.1; done

measure() { # prints microseconds from exec to the reported first frame
    local start end
    start=$(date +%s%N)
    end=$("$@" | awk '/^first-frame/ {print $2}')
    echo $(((end - start) / 1000))
}
settings=() bare=() menu=()
for _ in $(seq "$runs"); do
    settings+=("$(measure "$build/bench/settings_first_frame")")
    bare+=("$(measure "$build/bench/bare_qt")")
    menu+=("$(measure "$build/bench/bare_qt" --menu)")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ms=$(median "${settings[@]}")
mb=$(median "${bare[@]}")
mm=$(median "${menu[@]}")
awk -v s="$ms" -v b="$mb" -v m="$mm" -v n="$runs" 'BEGIN {
    printf "start-up to first frame, median of %d runs: settings %.1f ms, bare Qt %.1f ms, ratio %.2f\n",
           n, s / 1000, b / 1000, s / b
    printf "bare Qt with a menu bar (its first text) %.1f ms: settings against it %.2f\n",
           m / 1000, s / m }'
