#!/usr/bin/env bash
# Runs one end-to-end test script in a world of its own: a fresh runtime folder, a private D-Bus
# session with the accessibility bus started inside it, and a virtual X display. Nothing of the
# user's desktop session is seen or touched, and tests can run side by side.
#   run_in_session.sh PYTHON SCRIPT [ARGUMENTS...]
set -euo pipefail

if [ "${1-}" != "--inside-session" ]; then
    # Without the tools (tools/setup-debian.sh installs them) the test is skipped, not failed.
    for tool in Xvfb dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || { echo "run_in_session: no $tool; skipping" >&2; exit 77; }
    done
    "$1" -c "import pyatspi" 2>/dev/null || { echo "run_in_session: no pyatspi" >&2; exit 77; }
    runtime="$(mktemp -d "${TMPDIR:-/tmp}/valdrix-e2e.XXXXXX")"
    trap 'rm -rf "$runtime"' EXIT
    env -u DBUS_SESSION_BUS_ADDRESS -u AT_SPI_BUS_ADDRESS -u DISPLAY -u WAYLAND_DISPLAY \
        XDG_RUNTIME_DIR="$runtime" dbus-run-session -- "$0" --inside-session "$@"
    exit 0
fi
shift
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true' EXIT

# Waits up to ten seconds for a condition that the helpers need a moment to reach.
wait_until() {
    for _ in $(seq 200); do "$@" && return 0; sleep 0.05; done
    return 1
}

# The virtual display, on a display number picked at random: letting Xvfb look for a free one
# races with servers starting side by side. A number that is taken ends that Xvfb at once, and
# another is tried. Xvfb writes the number to descriptor 3 once it takes connections; without
# -noreset it would start afresh whenever its last client leaves, refusing whoever comes then.
display_file="$XDG_RUNTIME_DIR/display"
for _ in $(seq 20); do
    number=$((RANDOM % 900 + 100))
    Xvfb ":$number" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$display_file" 2>"$XDG_RUNTIME_DIR/xvfb.log" &
    wait_until eval "[ -s $display_file ] || ! kill -0 $! 2>/dev/null"
    [ -s "$display_file" ] && break
done
export DISPLAY=":$number"

# The accessibility bus, and with it the registry that clients such as pyatspi talk to. It is
# asked for without being started: a question to org.a11y.Bus would have D-Bus start another.
/usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 >"$XDG_RUNTIME_DIR/at-spi.log" 2>&1 &
wait_until eval "dbus-send --session --print-reply --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null \
    | grep -q 'boolean true'"

# Qt talks to the accessibility bus whether or not a screen reader has asked for it.
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 PYTHONDONTWRITEBYTECODE=1
cd "$XDG_RUNTIME_DIR" && "$@" || { status=$?; tail -n 20 xvfb.log at-spi.log >&2; exit "$status"; }
