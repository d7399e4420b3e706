#!/usr/bin/env bash
# Runs PROGRAM with the option help2man asks for (--help or --version) and passes its text on,
# writing the further lines of a usage block ("       NAME [options] ...", under "Usage: NAME ...")
# in the "  or:  NAME ..." form that help2man takes as more synopsis lines.
# Usage: help-text.sh PROGRAM OPTION
set -euo pipefail
program=$1
shift
name=${program##*/}
"$program" "$@" | sed -E "1,/^\$/ s/^ +(${name} )/  or:  \\1/"
