#!/usr/bin/env bash
# Every MIME type the desktop entry claims must lead to a conversion, not to "Unsupported input file
# type": shared-mime-info names the extensions a file manager gives each type (aliases resolved), and the
# tool is asked about a file of each; at least one of them must be taken. The file's bytes are not audio,
# so the tool fails, but for another reason. A type the database does not know is never offered by a file
# manager, so claiming it is a fault too.
#   check-mime-types.sh DESKTOP_ENTRY QUAVERMILL_CLI [MIME_DIR]
set -uo pipefail
entry="$1" cli="$2" mime="${3:-/usr/share/mime}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0
types="$(sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n')"
[ -n "$types" ] || { echo "failed: no MimeType in $entry"; exit 1; }
for type in $types; do
  [ "$type" = inode/directory ] && continue
  canonical="$(awk -v t="$type" '$1 == t { print $2 }' "$mime/aliases")"
  globs="$(awk -F: -v t="${canonical:-$type}" '$2 == t && $3 ~ /^\*\.[^*?[]+$/ { print substr($3, 3) }' "$mime/globs2")"
  if [ -z "$globs" ]; then echo "failed: $type names no extension in $mime"; failed=1; continue; fi
  taken=""
  for extension in $globs; do
    printf 'not audio' >"$work/x.$extension"
    message="$(cd "$work" && "$cli" -q "x.$extension" 2>&1)"
    grep -q "Unsupported input file type" <<<"$message" || taken="$extension"
    rm -f "$work/x.$extension" "$work/x.mp3" "$work/x.wav"
  done
  if [ -z "$taken" ]; then echo "failed: $type is claimed, but none of its extensions is read:" $globs; failed=1; fi
done
exit "$failed"
