#!/usr/bin/env bash
# The manual pages follow the programs' --help texts: every option of --help is in the page, each
# on a line of its own apart from its description; every form of the command ("Usage:" and
# "or:" lines) is in the SYNOPSIS, whole, and none spills into the DESCRIPTION; the page names the
# program's version, and groff reads it without a warning.
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
  # The rendered sections, each line with its leading spaces taken off.
  section() {
    awk -v name="$1" '/^[A-Z][A-Z ]*$/ { on = ($0 == name); next } on { sub(/^ +/, ""); print }' \
      <<<"$text"
  }
  synopsis=$(section SYNOPSIS)
  description=$(section DESCRIPTION)
  while IFS= read -r form; do
    [[ -n $form ]] || continue
    grep -qxF -- "$form" <<<"$synopsis" || fail "$page's SYNOPSIS lacks the form '$form'"
  done < <(sed -nE 's/^(Usage: |  or:  )//p' <<<"$help")
  first=$(head -n 1 <<<"$description")
  # (A usage line broken in two left "[--find-spine] INPUT OUTPUT" there.)
  ! grep -qE '^\[|(INPUT|OUTPUT|FILE|\.\.\.)$' <<<"$first" ||
    fail "$page's DESCRIPTION starts with a piece of a synopsis: '$first'"
  # Each option line of --help: its option (up to two spaces) on a line of the page with nothing
  # after it but two spaces or more.
  while IFS= read -r option; do
    awk -v tag="$option" '{ sub(/^ +/, "") }
      $0 == tag || (index($0, tag "  ") == 1) { found = 1 } END { exit !found }' <<<"$text" ||
      fail "$page runs '$option' together with its description"
  done < <(sed -nE 's/^  (-[^ ].*)$/\1/p' <<<"$help" | sed -E 's/  .*//')
  echo "$page: ${#options[@]} options of --help, '$version'"
done
