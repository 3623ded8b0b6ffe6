#!/usr/bin/env bash
# Runs a program that needs an X display: on the display there is, else on a
# virtual one made with xvfb-run. Exits 77 (ctest's "skipped") when there is
# neither, so that a machine without X still passes the rest of the tests.
set -u
# The web engine refuses its sandbox when run as root; normal users keep it.
if [[ $(id -u) -eq 0 ]]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
# No GPU on test machines, and no reaching out to the network.
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --disable-gpu --disable-background-networking --no-first-run"
export LIBGL_ALWAYS_SOFTWARE=1
export QT_QPA_PLATFORM=xcb
if [[ -n "${DISPLAY:-}" ]] && command -v xdpyinfo >/dev/null 2>&1 && xdpyinfo >/dev/null 2>&1; then
    exec "$@"
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "SKIPPED: no X display and no xvfb-run (install the xvfb package)" >&2
    exit 77
fi
# TSLE_XVFB_SCREEN: the virtual screen's size, for windows at a larger scale.
exec xvfb-run -a -s "-screen 0 ${TSLE_XVFB_SCREEN:-1280x1024x24} -nolisten tcp" "$@"
