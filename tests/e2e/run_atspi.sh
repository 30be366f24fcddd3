#!/usr/bin/env bash
# run_atspi.sh PROGRAM OUTDIR CHECK: the program on a private X server with openbox, a session
# bus and the accessibility bus, Qt's accessibility bridge on, and CHECK (a Python script of this
# folder) as a real AT-SPI client.
set -euo pipefail
program=$1
out=$2
check=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"

fail() {
    echo "atspi: FAIL: $*" >&2
    exit 1
}
# shellcheck source=x_session.sh
source "$here/x_session.sh"
eval "$(dbus-launch --sh-syntax)"
bus_pid=
session_cleanup() {
    cleanup
    [[ -n $bus_pid ]] && kill "$bus_pid" 2>/dev/null || true
    kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
}
trap session_cleanup EXIT
launcher=
for l in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [[ -x $l ]] && launcher=$l && break
done
[[ -n $launcher ]] || fail "no at-spi-bus-launcher"
"$launcher" --launch-immediately >/dev/null 2>&1 &
bus_pid=$!
# The program looks for the accessibility bus once, at start: it must be up by then.
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$out/$check.log" 2>&1 &
prog_pid=$!
# The system's Python, which has the AT-SPI bindings of the Debian package.
timeout 120 /usr/bin/python3 "$here/$check"
