#!/bin/sh
# Every translation is complete: lrelease finds no unfinished and no
# untranslated text in any translations/quavermill_*.ts.
# Usage: check-complete.sh LRELEASE TRANSLATIONS_FOLDER
set -u
lrelease=$1
folder=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
count=0
for ts in "$folder"/quavermill_*.ts; do
    count=$((count + 1))
    report=$("$lrelease" "$ts" -qm "$scratch/out.qm" 2>&1)
    if ! printf '%s\n' "$report" | grep -q ' 0 unfinished)' ||
        printf '%s\n' "$report" | grep -q 'untranslated'; then
        printf '%s is not complete:\n%s\n' "$ts" "$report"
        status=1
    fi
done
[ "$count" -gt 0 ] || { echo "no translations in $folder"; exit 1; }
exit $status
