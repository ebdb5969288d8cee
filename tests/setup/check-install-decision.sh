#!/usr/bin/env bash
# Runs the install script's skip decision against a stand-in dpkg-query: apt-get may be skipped only
# when dpkg answers and lists every package as installed. The stand-in reads the status it should give
# each package from $FAKE_STATUS ("ii" unless named there) and exits with $FAKE_EXIT, at once when
# that is 2 or more.
set -uo pipefail
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps.sh"
bin="$(mktemp -d)"
trap 'rm -rf "$bin"' EXIT
cat >"$bin/dpkg-query" <<'STANDIN'
#!/usr/bin/env bash
format='${Package}\n'
while [ $# -gt 0 ]; do
  case "$1" in
    -W) ;;
    -f | --showformat) format="$2"; shift ;;
    --showformat=*) format="${1#*=}" ;;
    -f*) format="${1#-f}"; format="${format#=}" ;;
    *) break ;;
  esac
  shift
done
[ "${FAKE_EXIT:-0}" -ge 2 ] && { echo "dpkg-query: error: database is locked" >&2; exit "$FAKE_EXIT"; }
for package in "$@"; do
  status="ii "
  for entry in ${FAKE_STATUS:-}; do
    [ "${entry%%=*}" = "$package" ] && status="${entry#*=}"
  done
  if [ "$status" = "none" ]; then echo "dpkg-query: no packages found matching $package" >&2; continue; fi
  status="${status}   "
  status="${status:0:3}"
  status_field='${db:Status-Abbrev}' package_field='${Package}'
  line="${format//"$status_field"/$status}"
  printf '%b' "${line//"$package_field"/$package}"
done
exit "${FAKE_EXIT:-0}"
STANDIN
printf '#!/bin/sh\necho "apt-get must not run here" >&2\nexit 99\n' >"$bin/apt-get"
chmod +x "$bin/dpkg-query" "$bin/apt-get"

failed=0
# name | FAKE_STATUS | FAKE_EXIT | what --check must answer (0: skip apt-get, 1: install)
while IFS='|' read -r name status exit_code wanted; do
  FAKE_STATUS="$status" FAKE_EXIT="$exit_code" PATH="$bin:$PATH" bash "$script" --check 2>/dev/null
  got=$?
  if [ "$got" != "$wanted" ]; then echo "failed: $name: --check gave $got, wanted $wanted"; failed=1; fi
done <<'CASES'
every package installed||0|0
one package unknown to dpkg|lame=none|1|1
one package removed, its configuration kept|ccache=rc|0|1
one package known but never installed|sox=un|0|1
one package half-installed|flac=iU|0|1
dpkg-query fails before it answers||2|1
dpkg-query lists every package and still fails||1|1
CASES
exit "$failed"
