#!/usr/bin/env bash
# run.sh BUILD_DIR [RUNS]: start-up of the real program against the bare Qt program (the card
# photograph centred under a File / Settings / Help menu bar), RUNS alternating runs each (21 by
# default) on one private X server with openbox. Prints the medians of the time to the first
# complete frame, the CPU time used by then and the peak resident memory of each finished
# process (the kernel's accounting, through first_frame_probe), and the ratios.
set -euo pipefail
build=$1
runs=${2:-21}
probe=$build/bench/first_frame_probe
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

# One untimed start of each first, so that neither pays for a cold file cache.
"$probe" "$build/bench/settings_first_frame" >/dev/null 2>&1
"$probe" "$build/bench/bare_qt" >/dev/null 2>&1
wall_s=() cpu_s=() rss_s=() wall_b=() cpu_b=() rss_b=()
for _ in $(seq "$runs"); do
    read -r w c m < <("$probe" "$build/bench/settings_first_frame" 2>/dev/null)
    wall_s+=("$w") cpu_s+=("$c") rss_s+=("$m")
    read -r w c m < <("$probe" "$build/bench/bare_qt" 2>/dev/null)
    wall_b+=("$w") cpu_b+=("$c") rss_b+=("$m")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
awk -v n="$runs" \
    -v ws="$(median "${wall_s[@]}")" -v wb="$(median "${wall_b[@]}")" \
    -v cs="$(median "${cpu_s[@]}")" -v cb="$(median "${cpu_b[@]}")" \
    -v ms="$(median "${rss_s[@]}")" -v mb="$(median "${rss_b[@]}")" 'BEGIN {
    printf "medians of %d alternating runs, settings against bare Qt (photograph, File/Settings/Help)\n", n
    printf "first frame:    settings %6.1f ms, bare %6.1f ms, ratio %.2f (target 1.00)\n",
           ws / 1000, wb / 1000, ws / wb
    printf "CPU by then:    settings %6.1f ms, bare %6.1f ms, ratio %.2f\n", cs / 1000, cb / 1000, cs / cb
    printf "peak resident:  settings %6.1f MiB, bare %6.1f MiB, ratio %.2f (target 1.05)\n",
           ms / 1024, mb / 1024, ms / mb }'
