#!/usr/bin/env bash
# installed_program_starts.sh PROGRAM LOG: starts the installed program on Qt's offscreen
# platform, lets it run for a few seconds and ends it with SIGTERM. It passes when the program is
# still running when the signal comes and ends on it; starting and failing (a missing library or
# platform plugin, a crash, an early exit) is what this catches. That the window is really up is
# checked under a real X server by the end-to-end run of the installed program.
set -euo pipefail
program=$1
log=$2

set +e
QT_QPA_PLATFORM=offscreen timeout --kill-after=10 --signal=TERM 5 "$program" >"$log" 2>&1
code=$?
set -e

case $code in
124) echo "started: ran until asked to end and ended on SIGTERM" ;;
137) echo "started: FAIL: did not end on SIGTERM and had to be killed" >&2; exit 1 ;;
*)
    if ((code > 128)); then
        reason="died of signal $((code - 128))"
    else
        reason="ended by itself with exit code $code"
    fi
    echo "started: FAIL: the program $reason before it was asked to end. Its output:" >&2
    cat "$log" >&2
    exit 1
    ;;
esac
