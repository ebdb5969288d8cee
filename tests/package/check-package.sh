#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it as lintian (which wants manual pages for
# both programs) and a software centre see it: the menu entry, icons, metainfo and computed dependencies.
set -euo pipefail
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$1" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb="$(ls "$work"/quavermill_*.deb)"
dpkg-deb -x "$deb" "$work/root"
usr="$work/root/usr"
failed=0
fail() { echo "failed: $*"; failed=1; }
for program in quavermill quavermill-cli; do [ -x "$usr/bin/$program" ] || fail "no $program"; done
for side in 16 32 48 64 128 256; do
  file "$usr/share/icons/hicolor/${side}x$side/apps/quavermill.png" | grep -q "PNG image data, $side x $side," ||
    fail "no $side x $side icon"
done
entry="$usr/share/applications/quavermill.desktop"
# The chosen files are handed over, the settings kept out of the home folder, and folders offered too.
grep -qx 'Exec=quavermill --desktop %F' "$entry" || fail "menu entry's Exec"
grep -q '^MimeType=\(.*;\)\?inode/directory;' "$entry" || fail "menu entry's MimeType lacks inode/directory"
metainfo="$usr/share/metainfo/io.github.quavermill.Quavermill.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; fail metainfo; }
launchable="$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")"
[ -f "$usr/share/applications/$launchable" ] || fail "metainfo launches '$launchable', which is not installed"
dpkg-deb -f "$deb" Depends | grep -q 'libmp3lame0' || fail "Depends lacks libmp3lame0"
lintian --fail-on error,warning "$deb" 2>/dev/null || fail lintian
exit "$failed"
