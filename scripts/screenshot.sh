#!/usr/bin/env bash
# Renders the main window in each scene to BUILD_DIR/screenshots/<scene>.png
# under an X display (xvfb-run when there is none) and copies the pictures to
# docs/. The program runs with a profile of its own, so the pictures never
# depend on the user's settings. A scene named SCENE@2x is SCENE at a scale
# factor of 2, as on a screen of twice the density (on a virtual screen).
#   scripts/screenshot.sh BUILD_DIR [SCENE...]     (default: every scene of the README)
set -euo pipefail

build=${1:?usage: scripts/screenshot.sh BUILD_DIR [SCENE...]}
shift
scenes=("$@")
[[ ${#scenes[@]} -gt 0 ]] ||
    scenes=(page template menu options preview-options expires preview split browser site themes menu@2x
        meters search-preview social-card)
root=$(cd "$(dirname "$0")/.." && pwd)
tsle="$build/src/app/tsle"
out="$build/screenshots"
page="$root/examples/site/index.html"

[[ -x "$tsle" ]] || { echo "screenshot: $tsle is not built" >&2; exit 1; }
mkdir -p "$out" "$root/docs"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/.runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

for scene in "${scenes[@]}"; do
    file="$out/$scene.png"
    rm -f "$file"
    status=0
    if [[ $scene == *@2x ]]; then
        QT_SCALE_FACTOR=2 TSLE_XVFB_SCREEN=2048x1400x24 \
            "$root/scripts/with-display.sh" "$tsle" --screenshot "${scene%@2x},$file" "$page" ||
            status=$?
    else
        "$root/scripts/with-display.sh" "$tsle" --screenshot "$scene,$file" "$page" || status=$?
    fi
    if [[ $status -eq 77 ]]; then
        echo "screenshot: skipped, no X display can be made"
        exit 0
    fi
    [[ $status -eq 0 && -s "$file" ]] || { echo "screenshot: scene $scene failed" >&2; exit 1; }
    cp "$file" "$root/docs/screenshot-$scene.png"
    echo "screenshot: $file -> docs/screenshot-$scene.png"
done
