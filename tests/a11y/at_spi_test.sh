#!/usr/bin/env bash
# The main window under a screen reader's eyes: starts the program on a
# display of its own with an accessibility bus and walks its AT-SPI tree
# (at_spi_test.py). Usage: at_spi_test.sh TOLAN. Exits 77, saying why, when
# the display or the accessibility bus cannot start.
set -euo pipefail
tolan=$1
here=$(cd "$(dirname "$0")" && pwd)

skip() {
    echo "skipped: $*"
    exit 77
}
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (xvfb, dbus-daemon, at-spi2-core)"
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# A tree with names a reader must cope with: control characters, emoji,
# bytes that are not UTF-8.
tree=$work/tree
mkdir -p "$tree/sub" "$work/home" "$work/config" "$work/state"
for i in 1 2 3 4 5; do printf 'line %s\n' "$i" >"$tree/file$i.txt"; done
printf 'x' >"$tree/sub/inner.dat"
printf 'x' >"$tree/$(printf 'bell\007')"
printf 'x' >"$tree/smile😀.txt"
printf 'x' >"$tree/$(printf 'bad\377name')"

# A display of its own.
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || skip "Xvfb did not start: $(tail -1 "$work/xvfb.log")"
    sleep 0.1
done
[ -s "$work/display" ] || skip "Xvfb gave no display"
display=$(head -1 "$work/display")
for _ in $(seq 100); do
    [ -S "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done

export DISPLAY=:$display
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
dbus-run-session -- /usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0).childCount' \
    >/dev/null 2>&1 || skip "the accessibility bus did not start"
dbus-run-session -- /usr/bin/python3 "$here/at_spi_test.py" "$tolan" "$tree" "$XDG_STATE_HOME" "$HOME"
