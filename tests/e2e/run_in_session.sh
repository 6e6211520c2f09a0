#!/usr/bin/env bash
# Runs one end-to-end test script in a world of its own: a fresh runtime folder, a private D-Bus
# session with the accessibility bus started inside it, and a virtual X display. Nothing of the
# user's desktop session is seen or touched, and tests can run side by side.
#   run_in_session.sh PYTHON SCRIPT [ARGUMENTS...]
set -euo pipefail

if [ "${1-}" != "--inside-session" ]; then
    # Without the tools (tools/setup-debian.sh installs them) the test is skipped, not failed.
    skipped=77
    for tool in Xvfb dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
        if ! command -v "$tool" >/dev/null; then
            echo "run_in_session: $tool is missing; skipping" >&2
            exit "$skipped"
        fi
    done
    if ! "$1" -c "import pyatspi" 2>/dev/null; then
        echo "run_in_session: $1 cannot import pyatspi; skipping" >&2
        exit "$skipped"
    fi

    runtime="$(mktemp -d "${TMPDIR:-/tmp}/valdrix-e2e.XXXXXX")"
    status=0
    env -u DBUS_SESSION_BUS_ADDRESS -u AT_SPI_BUS_ADDRESS -u DISPLAY -u WAYLAND_DISPLAY \
        XDG_RUNTIME_DIR="$runtime" dbus-run-session -- "$0" --inside-session "$@" || status=$?
    rm -rf "$runtime"
    exit "$status"
fi
shift

helpers=()
cleanup() {
    for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

# Waits up to ten seconds for a condition that the helpers need a moment to reach.
wait_until() {
    for _ in $(seq 200); do
        if "$@"; then return 0; fi
        sleep 0.05
    done
    echo "run_in_session: gave up waiting for: $*" >&2
    return 1
}

# The virtual display, on a display number of its own. Letting Xvfb look for a free number
# (-displayfd alone) races with other servers starting side by side: each one that looks tries
# the numbers already taken and upsets their sockets. A number picked at random is rarely taken;
# when it is, that Xvfb ends at once and another number is tried. Xvfb writes the number to
# descriptor 3 once it takes connections. Without -noreset it would start afresh whenever its
# last client leaves (the bus launcher visits it briefly), refusing whoever connects meanwhile.
start_display() {
    local display_file="$XDG_RUNTIME_DIR/display" number pid
    for _ in $(seq 20); do
        number=$((RANDOM % 900 + 100))
        rm -f "$display_file"
        Xvfb ":$number" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
            3>"$display_file" 2>"$XDG_RUNTIME_DIR/xvfb.log" &
        pid=$!
        if wait_until display_decided "$pid" "$display_file" && [ -s "$display_file" ]; then
            helpers+=("$pid")
            export DISPLAY=":$number"
            return 0
        fi
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    echo "run_in_session: no virtual display would start" >&2
    return 1
}

# The server has either written its number or ended.
display_decided() {
    [ -s "$2" ] || ! kill -0 "$1" 2>/dev/null
}

start_display

# The accessibility bus, and with it the registry that clients such as pyatspi talk to.
/usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 >"$XDG_RUNTIME_DIR/at-spi.log" 2>&1 &
helpers+=("$!")
# Asked without starting it: a question to org.a11y.Bus itself would have D-Bus start a second one.
a11y_bus_is_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q "boolean true"
}
wait_until a11y_bus_is_up

# Qt talks to the accessibility bus whether or not a screen reader has asked for it.
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The test scripts leave no compiled files in the source tree.
export PYTHONDONTWRITEBYTECODE=1

status=0
"$@" || status=$?
if [ "$status" -ne 0 ]; then
    for log in "$XDG_RUNTIME_DIR"/xvfb.log "$XDG_RUNTIME_DIR"/at-spi.log; do
        echo "--- $(basename "$log")" >&2
        tail -n 20 "$log" >&2
    done
fi
exit "$status"
