#!/bin/sh
# Runs a program where no display can be reached and checks its exit status and that one line
# of its output is PATTERN.   run_without_display.sh STATUS PATTERN PROGRAM [ARGUMENTS...]
status=$1 pattern=$2 && shift 2
output=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$@" 2>&1)
actual=$?
printf '%s\nexit status %s\n' "$output" "$actual"
[ "$actual" = "$status" ] && printf '%s\n' "$output" | grep -qx -- "$pattern"
