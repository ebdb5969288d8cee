#!/usr/bin/env bash
# Comment handling against plain encoding.
#
# Builds quavermill-cli in Release, makes one 60-second stereo FLAC file
# without comments and the same audio with 20,000 comments (long lyrics, cue
# sheets and logs are stored that way), encodes each with the tags taken from
# the comments, and prints the time ratio (aim: at most 1.5).
#
# Needs sox and flac (metaflac). Each time is the best of RUNS runs; JOBS sets
# the parallel jobs of the build.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${BUILD:-$ROOT/build-bench}
RUNS=${RUNS:-3}
COMMENTS=${COMMENTS:-20000}

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DQM_BUILD_GUI=OFF -DQM_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"${JOBS:-2}" --target quavermill-cli >/dev/null
CLI=$BUILD/cli/quavermill-cli

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quavermill-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT

sox -n -r 44100 -b 16 -c 2 "$WORK/source.wav" synth 60 pinknoise pinknoise vol 0.3
flac --silent --force -o "$WORK/plain.flac" "$WORK/source.wav"
cp "$WORK/plain.flac" "$WORK/commented.flac"
awk -v n="$COMMENTS" 'BEGIN {
  print "ARTIST=Someone"; print "TITLE=Something"
  for (i = 3; i <= n; i++) printf "LYRICS=line %d of a song that goes on and on and on\n", i
}' >"$WORK/comments.txt"
metaflac --import-tags-from="$WORK/comments.txt" "$WORK/commented.flac"

# Tags from the comments: TagMode 2 with automatic tagging off.
printf '[Quavermill]\nAutoTag=0\nTagMode=2\n' >"$WORK/Quavermill.ini"

now_ns() { date +%s%N; }

# best_time FILE: the shortest wall time of RUNS encodes, in seconds.
best_time() {
  local best=""
  for _ in $(seq "$RUNS"); do
    local start end t
    start=$(now_ns)
    (cd "$WORK" && "$CLI" -q -j 1 "$1")
    end=$(now_ns)
    t=$(( end - start ))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

plain=$(best_time plain.flac)
commented=$(best_time commented.flac)
ratio=$(awk -v a="$commented" -v b="$plain" 'BEGIN { printf "%.3f", a / b }')
echo "60 s FLAC, best of $RUNS runs: no comments ${plain}s, $COMMENTS comments ${commented}s, ratio $ratio"
