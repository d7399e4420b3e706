#!/usr/bin/env bash
# Runs a test program as the unprivileged user "nobody" (root ignores file permissions, so
# permission cases mean nothing as root), and fails if the program skipped its tests.
# Exits 77 (CTest's skip) with a message when no unprivileged run is possible here.
# Usage: RunAsUnprivilegedUser.sh PROGRAM [ARGUMENTS...]
set -uo pipefail
program=$1
shift

run=("$program")
if [[ $(id -u) -eq 0 ]]; then
  if ! command -v setpriv >/dev/null || ! id nobody >/dev/null 2>&1; then
    echo "SKIPPED: no setpriv or no user nobody here; the permission tests need an unprivileged user"
    exit 77
  fi
  as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  if ! "${as_nobody[@]}" test -x "$program"; then
    echo "SKIPPED: the user nobody cannot run $program (a folder on its way is closed to others)"
    exit 77
  fi
  run=("${as_nobody[@]}" env HOME=/nonexistent TMPDIR=/tmp "$program")
fi

output=$("${run[@]}" "$@" 2>&1)
status=$?
echo "$output"
if [[ $status -eq 0 ]] && grep -qE '\[  SKIPPED \]|\[  PASSED  \] 0 tests' <<<"$output"; then
  echo "FAILED: no test ran as an unprivileged user"
  exit 1
fi
exit $status
