#!/usr/bin/env bash
# run_atspi.sh PROGRAM OUTDIR: the program on a private X server, session bus and accessibility
# bus with Qt's accessibility bridge on, driven by a real AT-SPI client (atspi_check.py).
set -euo pipefail
program=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"

exec 5< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r -t 20 display_no <&5 || { echo "atspi: FAIL: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display_no"
eval "$(dbus-launch --sh-syntax)"
prog_pid= bus_pid=
cleanup() {
    [[ -n $prog_pid ]] && kill "$prog_pid" 2>/dev/null || true
    [[ -n $bus_pid ]] && kill "$bus_pid" 2>/dev/null || true
    kill "$DBUS_SESSION_BUS_PID" "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
launcher=
for l in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [[ -x $l ]] && launcher=$l && break
done
[[ -n $launcher ]] || { echo "atspi: FAIL: no at-spi-bus-launcher" >&2; exit 1; }
"$launcher" --launch-immediately >/dev/null 2>&1 &
bus_pid=$!
# The program looks for the accessibility bus once, at start: it must be up by then.
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$out/atspi-program.log" 2>&1 &
prog_pid=$!
# The system's Python, which has the AT-SPI bindings of the Debian package.
timeout 120 /usr/bin/python3 "$here/atspi_check.py"
