#!/usr/bin/env bash
# The window program's command line through the built program: --help and --version print and
# end without a screen (no window toolkit is started for them), a usage error ends with 2.
# Usage: CommandLineTest.sh PROGRAM VERSION
set -euo pipefail
program=$1
version=$2
fail() { echo "FAILED: $*" >&2; exit 1; }

# No screen at all: the answer must come before any window exists.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help) ||
  fail "--help ended with $?"
[[ $help == "Usage: trayvane [FILE]"* ]] || fail "--help printed: $help"
[[ $help == *"--version"* ]] || fail "--help does not name --version"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version) ||
  fail "--version ended with $?"
[[ $out == "trayvane $version" ]] || fail "--version printed: $out"
out=$(env -u DISPLAY -u QT_QPA_PLATFORM "$program" -h) || fail "-h ended with $?"
[[ $out == "$help" ]] || fail "-h differs from --help"

for arguments in "--bogus" "one.jpg two.jpg"; do
  # shellcheck disable=SC2086
  if err=$(QT_QPA_PLATFORM=offscreen "$program" $arguments 2>&1 >/dev/null); then
    fail "'$arguments' was accepted"
  else
    status=$?
  fi
  [[ $status == 2 ]] || fail "'$arguments' ended with $status, not 2"
  [[ $err == *"trayvane: "*"Usage: trayvane [FILE]"* ]] || fail "'$arguments' said: $err"
done
echo "command line: --help, --version, usage errors as expected"
