#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks that it holds
# both programs, the menu entry, the icons and the manual pages, and that
# its dependencies were computed from the linked libraries.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb="$(ls "$work"/quavermill_*.deb)"
contents="$(dpkg-deb -c "$deb" | awk '{print $6}')"
depends="$(dpkg-deb -f "$deb" Depends)"
passed=0
failed=0
expect() {
  if grep -qx -- "$2" <<<"$1"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "missing: $2"; fi
}
for file in ./usr/bin/quavermill ./usr/bin/quavermill-cli ./usr/share/applications/quavermill.desktop \
            ./usr/share/icons/hicolor/128x128/apps/quavermill.png ./usr/share/icons/hicolor/16x16/apps/quavermill.png \
            ./usr/share/man/man1/quavermill.1 ./usr/share/man/man1/quavermill-cli.1; do
  expect "$contents" "$file"
done
for package in libmp3lame0 libqt6widgets6 libqt6network6; do
  expect "$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')" "$package"
done
# The menu entry hands the chosen files over and keeps the settings out of the home folder.
dpkg-deb -x "$deb" "$work/root"
expect "$(cat "$work/root/usr/share/applications/quavermill.desktop")" "Exec=quavermill --desktop %F"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
