#!/usr/bin/env bash
# Installs the Debian packages that building and testing TSLE need.
# Idempotent and quiet when everything is already there; uses sudo only when not root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    clang libclang-rt-14-dev          # libFuzzer and the sanitizer runtimes
    googletest libgtest-dev libgmock-dev
    libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libssl-dev                        # SHA-256 of pages at the processor's speed
    libxcb1-dev                       # asking X about compositing (menu shadows) and the lock keys
    qt6-webengine-dev                 # the preview of the desktop program
    xvfb xauth                        # tests and screenshots that need an X display
    fonts-dejavu-core                 # text in off-screen renderings
    fonts-liberation2                 # Liberation Sans: widths of titles in search results
    tzdata                            # zone files for the local-time date tests
    git patch                         # the tests that check tsle-cli's diffs apply
    debian-faq python-jinja2-doc      # real pages (XHTML and HTML5) the whole-flow tests change
    libargparse4j-java-doc            # real pages (Javadoc) for the suggestion tests
)
# Extra packages for the benchmarks only (real pages to measure on), and for
# make tidy.
if [[ "${1:-}" == "--bench" ]]; then
    packages+=(python3.11-doc)
elif [[ "${1:-}" == "--tidy" ]]; then
    packages+=(clang-tidy)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
