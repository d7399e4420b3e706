#!/usr/bin/env bash
# The manual pages follow the programs' --help texts: every option of --help is in the page, the
# page names the program's version and its usage, and groff reads it without a warning.
# Usage: ManPageTest.sh MAN-FOLDER PROGRAM...
set -euo pipefail
folder=$1
shift
fail() { echo "FAILED: $*" >&2; exit 1; }

for program in "$@"; do
  name=${program##*/}
  page=$folder/$name.1
  [[ -s $page ]] || fail "no manual page $page"
  [[ $program -nt $page ]] && fail "$page is older than $program"
  warnings=$(groff -man -ww -z "$page" 2>&1) || fail "groff failed on $page: $warnings"
  [[ -z $warnings ]] || fail "groff warns about $page: $warnings"
  text=$(groff -man -Tutf8 -P-cbou -rLL=400n -rHY=0 "$page" 2>/dev/null)
  help=$("$program" --help)
  version=$("$program" --version)
  mapfile -t options < <(grep -oE -- '(^|[ ,[])--?[a-z][a-z-]*' <<<"$help" | sed -E 's/^[ ,[]//' | sort -u)
  [[ ${#options[@]} -gt 0 ]] || fail "no options found in $name --help"
  for option in "${options[@]}"; do
    grep -qF -- "$option" <<<"$text" || fail "$page lacks $option of $name --help"
  done
  grep -qF -- "$version" <<<"$text" || fail "$page does not name '$version'"
  usage=$(sed -n 's/^Usage: //p' <<<"$help")
  grep -qF -- "$usage" <<<"$text" || fail "$page lacks the usage '$usage'"
  echo "$page: ${#options[@]} options of --help, '$version'"
done
