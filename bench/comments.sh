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
# shellcheck source=bench/common.sh
source bench/common.sh
COMMENTS=${COMMENTS:-20000}

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

plain=$(best_time "$WORK" "$CLI" -q -j 1 plain.flac)
commented=$(best_time "$WORK" "$CLI" -q -j 1 commented.flac)
echo "60 s FLAC, best of $RUNS runs: no comments ${plain}s, $COMMENTS comments ${commented}s, ratio $(ratio "$commented" "$plain")"
