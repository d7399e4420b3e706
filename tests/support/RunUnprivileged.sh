#!/bin/sh
# Runs a test command as an unprivileged user, so that file permissions count: as it is when the
# tests do not run as root, else through setpriv as the user nobody. When it cannot switch to that
# user it says why and exits with 77, which CTest shows as a skipped test.
# Usage: RunUnprivileged.sh COMMAND [ARGUMENTS...]
set -u
if [ "$(id -u)" -ne 0 ]; then
  exec "$@"
fi
skip() {
  echo "SKIPPED: $* (the permission cases need an unprivileged user)"
  exit 77
}
command -v setpriv >/dev/null 2>&1 || skip "setpriv is missing"
set -- setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
"$1" "$2" "$3" "$4" true 2>/dev/null || skip "cannot switch to the user nobody"
"$1" "$2" "$3" "$4" test -x "$5" || skip "the user nobody cannot run $5 (a folder above it is closed to others)"
# A temporary folder of root's own is closed to nobody.
"$1" "$2" "$3" "$4" test -w "${TMPDIR:-/tmp}" || export TMPDIR=/tmp
exec "$@"
