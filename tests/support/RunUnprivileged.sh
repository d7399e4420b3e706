#!/usr/bin/env bash
# Runs a GoogleTest program as an unprivileged user, so that file permissions count (root ignores
# them): as it is when the tests do not run as root, else through setpriv as the user nobody.
# Fails when the program's filter selects no test, or when a test skipped itself (it then did
# not run as an unprivileged user), so that a filter that stops matching never passes silently.
# When it cannot switch to that user it says why and exits with 77, CTest's skip.
# Usage: RunUnprivileged.sh PROGRAM --gtest_filter=PATTERN [ARGUMENTS...]
set -uo pipefail
program=$1
shift

skip() {
  echo "SKIPPED: $* (the permission cases need an unprivileged user)"
  exit 77
}

run=("$program")
if [[ $(id -u) -eq 0 ]]; then
  command -v setpriv >/dev/null 2>&1 || skip "setpriv is missing"
  as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  "${as_nobody[@]}" true 2>/dev/null || skip "cannot switch to the user nobody"
  "${as_nobody[@]}" test -x "$program" ||
    skip "the user nobody cannot run $program (a folder above it is closed to others)"
  # A temporary folder of root's own is closed to nobody.
  temporary=${TMPDIR:-/tmp}
  "${as_nobody[@]}" test -w "$temporary" || temporary=/tmp
  run=("${as_nobody[@]}" env HOME=/nonexistent TMPDIR="$temporary" "$program")
fi

output=$("${run[@]}" "$@" 2>&1)
status=$?
echo "$output"
((status == 0)) || exit "$status"
ran=$(sed -nE 's/^\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' <<<"$output" | tail -n 1)
if [[ -z $ran || $ran -eq 0 ]]; then
  echo "FAILED: the filter selected no test ($*)"
  exit 1
fi
if grep -q '^\[  SKIPPED \]' <<<"$output"; then
  echo "FAILED: a test skipped itself instead of running as an unprivileged user"
  exit 1
fi
echo "$ran tests ran as an unprivileged user"
