#!/bin/sh
# Runs a program where there is no display of any kind, then prints its exit
# status, so that a test checks both what it printed and how it ended.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
"$@"
echo "status: $?"
