#!/usr/bin/env bash
# Installs the build into a temporary prefix as a packager would (cmake --install) and checks the
# tree: programs, data, desktop entry, AppStream metadata, icons, manual pages, licence; then
# validates the entry and the metadata, and starts the installed program as a user who cannot
# write beside it: it finds its placeholder under share/ and logs to the user's state folder.
# Usage: InstallTest.sh BUILD-FOLDER
set -euo pipefail
build=$1
fail() { echo "FAILED: $*" >&2; exit 1; }

prefix=$(mktemp -d "${TMPDIR:-/tmp}/trayvane-install-XXXXXX")
home=""
pid=""
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null
  rm -rf "$prefix" ${home:+"$home"}
}
trap cleanup EXIT
chmod 755 "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

metainfo=share/metainfo/example.brenlow.trayvane.metainfo.xml
for file in bin/trayvane bin/trayvane-compose share/trayvane/DropHere.jpg \
  share/applications/trayvane.desktop "$metainfo" share/icons/hicolor/scalable/apps/trayvane.svg \
  share/man/man1/trayvane.1 share/man/man1/trayvane-compose.1 share/doc/trayvane/LICENSE; do
  [[ -s $prefix/$file ]] || fail "not installed: $file"
done
[[ -x $prefix/bin/trayvane && -x $prefix/bin/trayvane-compose ]] || fail "programs not executable"
[[ ! -e $prefix/bin/DropHere.jpg ]] || fail "data installed beside the programs"
for size in 16 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/trayvane.png
  [[ -s $icon ]] || fail "no ${size}x${size} icon"
  [[ $(identify -format '%m %w %h' "$icon") == "PNG $size $size" ]] ||
    fail "$icon is $(identify -format '%m %w %h' "$icon")"
done
grep -q '^MIT License' "$prefix/share/doc/trayvane/LICENSE" || fail "the licence is not MIT"

desktop-file-validate "$prefix/share/applications/trayvane.desktop" ||
  fail "desktop-file-validate rejects the entry"
appstreamcli validate --no-net "$prefix/$metainfo" || fail "appstreamcli rejects the metadata"
entry_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$prefix/share/applications/trayvane.desktop")
[[ -x $prefix/bin/$entry_program ]] || fail "the entry starts '$entry_program', not installed"
# The picture types the entry offers "Open With" for are the ones the metadata names.
mime_types=$(sed -n 's/^MimeType=//p' "$prefix/share/applications/trayvane.desktop" | tr ';' '\n' | sed '/^$/d' | sort)
media_types=$(sed -n 's|.*<mediatype>\(.*\)</mediatype>.*|\1|p' "$prefix/$metainfo" | sort)
[[ -n $mime_types && $mime_types == "$media_types" ]] ||
  fail "the entry's MimeType ($mime_types) and the metadata's media types ($media_types) differ"
version=$("$prefix/bin/trayvane" --version)
grep -q "<release version=\"${version#trayvane }\"" "$prefix/$metainfo" ||
  fail "the metadata has no release for $version"

# The installed program, started with a picture it cannot read by a user who cannot write into
# the installed tree: the record of that one error lands in ~/.local/state/trayvane/.
home=$(mktemp -d "${TMPDIR:-/tmp}/trayvane-home-XXXXXX")
printf 'no picture' >"$home/damaged.jpg"
run=()
if [[ $(id -u) -eq 0 ]]; then
  if ! command -v setpriv >/dev/null; then
    echo "SKIPPED the start as a user: no setpriv here"
    exit 0
  fi
  chmod 755 "$home"
  chown -R nobody "$home"
  run=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  chmod a-w "$prefix/bin"
fi
"${run[@]}" env -u XDG_STATE_HOME -u DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/config" \
  XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/trayvane" "$home/damaged.jpg" >"$home/stdout" 2>"$home/stderr" &
pid=$!
log=$home/.local/state/trayvane/trayvane.log
for _ in $(seq 1 300); do
  grep -q 'AvailPhys' "$log" 2>/dev/null && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
[[ -s $log ]] || fail "no log in the state folder; stderr: $(cat "$home/stderr")"
records=$(grep -c '^Exception = ' "$log")
[[ $records == 1 ]] || fail "$records records, not the one of damaged.jpg: $(cat "$log")"
grep -q 'damaged.jpg' "$log" || fail "the record is not that of damaged.jpg: $(cat "$log")"
[[ ! -e $prefix/bin/trayvane.log ]] || fail "a log was written beside the installed program"
[[ $(stat -c %a "$home/.local/state/trayvane") == 700 ]] || fail "the state folder is open to others"
echo "installed tree, entry and metadata valid; the installed program logs to $log"
