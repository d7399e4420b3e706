#!/usr/bin/env bash
# Prints from the window into a real CUPS queue and measures what it printed
# (CupsQueuePrintTest.cpp). Starts a CUPS scheduler of its own, in a private folder, with one
# queue on the PDF printer of Debian's printer-driver-cups-pdf, and stops it at the end, also on
# failure. The printer's backend must run as root, and it reads its settings from /etc/cups: the
# scheduler runs in a mount namespace of its own where /etc/cups is the private folder. Where that
# cannot be had the test is skipped (exit 77) and says why.
# Usage: CupsQueuePrintTest.sh TEST-PROGRAM
set -euo pipefail
Program=$1

skip() {
  echo "skipped: $*"
  exit 77
}
[[ $(id -u) -eq 0 ]] || skip "the PDF printer's backend (cups-pdf) runs only for a scheduler started as root"
for Tool in cupsd lpadmin unshare mount; do
  command -v "$Tool" >/dev/null || skip "$Tool is not installed (scripts/install-deps installs cups)"
done
Backend=/usr/lib/cups/backend/cups-pdf
Ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[[ -x "$Backend" && -f "$Ppd" ]] || skip "no cups-pdf (scripts/install-deps installs printer-driver-cups-pdf)"
unshare --mount true 2>/dev/null || skip "no mount namespace can be made here"

Work=$(mktemp -d "${TMPDIR:-/tmp}/trayvane-cups-XXXXXX")
chmod 755 "$Work"
CupsdPid=""
cleanup() {
  if [[ -n "$CupsdPid" ]]; then
    kill "$CupsdPid" 2>/dev/null || true
    for _ in $(seq 1 50); do kill -0 "$CupsdPid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$CupsdPid" 2>/dev/null || true
    wait "$CupsdPid" 2>/dev/null || true
  fi
  rm -rf "$Work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  [[ -f "$Work/log/error_log" ]] && tail -n 30 "$Work/log/error_log" >&2
  exit 1
}

mkdir -p "$Work/etc/ppd" "$Work/spool/tmp" "$Work/cache" "$Work/state" "$Work/log" "$Work/out" \
  "$Work/pdf-spool"
chmod 1777 "$Work/spool/tmp"
Socket="$Work/cups.sock"
cat >"$Work/etc/cupsd.conf" <<CONF
Listen $Socket
LogLevel debug
WebInterface No
Browsing Off
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$Work/etc/cups-files.conf" <<CONF
ServerRoot $Work/etc
RequestRoot $Work/spool
CacheDir $Work/cache
StateDir $Work/state
TempDir $Work/spool/tmp
AccessLog $Work/log/access_log
ErrorLog $Work/log/error_log
PageLog $Work/log/page_log
SystemGroup root
FileDevice No
CONF
# Read by the backend from /etc/cups, which in the scheduler's namespace is $Work/etc.
cat >"$Work/etc/cups-pdf.conf" <<CONF
Out $Work/out
AnonDirName $Work/out
Spool $Work/pdf-spool
Log $Work/log
Grp root
CONF

unshare --mount --propagation private sh -c \
  'mount --bind "$1/etc" /etc/cups && exec cupsd -f -c /etc/cups/cupsd.conf -s /etc/cups/cups-files.conf' \
  sh "$Work" >"$Work/log/cupsd.out" 2>&1 &
CupsdPid=$!
export CUPS_SERVER="$Socket"
for _ in $(seq 1 100); do
  [[ -S "$Socket" ]] && lpstat -r >/dev/null 2>&1 && break
  kill -0 "$CupsdPid" 2>/dev/null || fail "cupsd ended: $(cat "$Work/log/cupsd.out")"
  sleep 0.1
done
lpstat -r >/dev/null 2>&1 || fail "cupsd did not start within ten seconds"
Queue=TrayvaneTest
lpadmin -p "$Queue" -v cups-pdf:/ -P "$Ppd" -E 2>/dev/null || fail "the queue could not be made"
lpadmin -d "$Queue" || fail "the queue could not be made the default"

TRAYVANE_CUPS_QUEUE=$Queue TRAYVANE_CUPS_OUTPUT="$Work/out" TRAYVANE_CUPS_LOG="$Work/log/error_log" \
  QT_QPA_PLATFORM=offscreen HOME="$Work" XDG_CONFIG_HOME="$Work/config" \
  XDG_RUNTIME_DIR="$Work/runtime" "$Program" || fail "printing through the queue failed"
