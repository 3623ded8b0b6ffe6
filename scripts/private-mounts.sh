#!/bin/sh
# Runs a test program in a mount namespace of its own where one can be made
# (as root), so that the small file systems and read-only folders its fault
# tests mount are seen by nothing else and go with it, even when it crashes.
# Elsewhere it runs as it is, and those tests skip.
#
#   scripts/private-mounts.sh PROGRAM [ARG...]
#   scripts/private-mounts.sh --check   exit 0 when a tmpfs can be mounted so
if [ "${1:-}" = --check ]; then
    dir=$(mktemp -d) || exit 1
    unshare -m sh -c "mount -t tmpfs -o size=4k tmpfs '$dir'" 2>/dev/null
    status=$?
    rmdir "$dir"
    exit $status
fi
if [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
    exec unshare -m "$@"
fi
exec "$@"
