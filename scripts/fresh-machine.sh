#!/usr/bin/env bash
# Runs the README's two set-up commands, as root and in order, on a fresh minimal Debian 12 root that
# mmdebstrap makes from this machine's own apt sources with nothing added but ca-certificates: what a
# new user's machine sees, which CI (where every package is already installed) cannot. Takes minutes,
# so it is not part of CI. Prints each command's time; exits non-zero when either command fails.
#   sudo bash scripts/fresh-machine.sh          (needs mmdebstrap; the root is removed afterwards)
#   KEEP_ROOT=1 bash scripts/fresh-machine.sh   (keeps it, and says where)
set -euo pipefail

# Inside mmdebstrap's customize hook, where the root's /proc, /sys and /dev are mounted.
if [ "${1:-}" = "--run-commands" ]; then
  root="$2" times="$3"
  mapfile -t commands <"$root/root/readme-commands"
  for command in "${commands[@]}"; do
    echo "=== $command"
    start=$SECONDS
    status=0
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      bash -c "cd /root/quavermill && $command" || status=$?
    echo "$command: $((SECONDS - start)) s, exit status $status" | tee -a "$times"
    [ "$status" -eq 0 ] || exit "$status"
  done
  exit 0
fi

top="$(cd "$(dirname "$0")/.." && pwd)"
command -v mmdebstrap >/dev/null || { echo "fresh-machine.sh needs mmdebstrap (apt-get install mmdebstrap)" >&2; exit 2; }
sources=()
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  [ -f "$file" ] && sources+=("$file")
done
[ "${#sources[@]}" -gt 0 ] || { echo "fresh-machine.sh: this machine has no apt sources" >&2; exit 2; }

work="$(mktemp -d /var/tmp/quavermill-fresh.XXXXXX)"
cleanup() { if [ -z "${KEEP_ROOT:-}" ]; then rm -rf "$work"; else echo "root kept in $work/root"; fi; }
trap cleanup EXIT
# A clean clone: only what is committed, as a new user would get it.
git clone -q "$top" "$work/quavermill"
# The commands are read from the README's set-up block, so this runs what the README says.
sed -n '/^## Set up/,/^## /p' "$work/quavermill/README.md" | sed -n 's/^\(bash [^#]*[^ #]\).*/\1/p' >"$work/readme-commands"
[ "$(wc -l <"$work/readme-commands")" -eq 2 ] || { echo "expected two commands in the README's set-up:"; cat "$work/readme-commands"; exit 2; }

status=0
mmdebstrap --variant=minbase --include=ca-certificates \
  --customize-hook="copy-in '$work/quavermill' '$work/readme-commands' /root" \
  --customize-hook="bash '$top/scripts/fresh-machine.sh' --run-commands \"\$1\" '$work/readme-times'" \
  bookworm "$work/root" "${sources[@]}" || status=$?
echo "--- on a fresh Debian 12 root:"
cat "$work/readme-times" 2>/dev/null || true
exit "$status"
