#!/bin/sh
# Runs a test program as an ordinary user (nobody) when started as root, because root reads and
# writes past file permissions and the permission tests would only be skipped. Exit 77 tells
# CTest the test was skipped, with the reason printed.
if [ "$(id -u)" -ne 0 ]; then
    exec "$@"
fi
if ! command -v setpriv >/dev/null 2>&1; then
    echo "skipped: setpriv is missing, so the tests cannot drop root"
    exit 77
fi
as_nobody="setpriv --reuid=65534 --regid=65534 --clear-groups"
if ! $as_nobody test -x "$1"; then
    echo "skipped: $1 cannot be reached by an ordinary user"
    exit 77
fi
exec env HOME=/tmp TMPDIR=/tmp XDG_RUNTIME_DIR= $as_nobody "$@"
