#!/usr/bin/env bash
# Decoding speed and output against the mpg123 and lame command-line tools.
#
# Builds quavermill-cli in Release, makes one 10-minute stereo MP3 (lame -V 2
# of pink noise, so the stream carries its LAME tag), decodes it with
# quavermill-cli, `mpg123 -w` and `lame --decode`, and prints the time ratio
# to each (aims: at most 0.9 against mpg123, which decodes with the same
# library, and at most 0.5 against lame), the sample counts, and the largest
# sample difference to each (aim: at most 1).
#
# Needs sox, lame and mpg123. Each time is the best of RUNS runs.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=bench/common.sh
source bench/common.sh
SECONDS_LONG=${SECONDS_LONG:-600}

sox -n -r 44100 -b 16 -c 2 "$WORK/long.wav" synth "$SECONDS_LONG" pinknoise pinknoise vol 0.3
lame --quiet -V 2 "$WORK/long.wav" "$WORK/long.mp3"
rm "$WORK/long.wav"

tq=$(best_time "$WORK" "$CLI" -q -j 1 long.mp3)
tm=$(best_time "$WORK" mpg123 -q -w mpg123.wav long.mp3)
tl=$(best_time "$WORK" lame --quiet --decode long.mp3 lame.wav)

# Both references trim the delay and padding of a tagged stream as we do, so
# the samples line up from the first one.
compare() {
  /usr/bin/python3 - "$WORK/long.wav" "$1" <<'PY'
import array, operator, sys
def samples(path):
    data = open(path, 'rb').read()
    at = 12
    while at + 8 <= len(data):
        size = int.from_bytes(data[at + 4:at + 8], 'little')
        if data[at:at + 4] == b'data':
            a = array.array('h')
            a.frombytes(data[at + 8:at + 8 + (len(data) - at - 8) // 2 * 2])
            return a
        at += 8 + size + (size & 1)
    return array.array('h')
ours, ref = samples(sys.argv[1]), samples(sys.argv[2])
largest = max(map(abs, map(operator.sub, ours, ref)), default=0)
print('%d vs %d samples, largest difference %d' % (len(ours), len(ref), largest))
PY
}

echo "Decoding ${SECONDS_LONG} s of stereo 44.1 kHz MP3 (VBR 2), best of $RUNS runs"
printf '%-14s %9ss\n' quavermill "$tq"
printf '%-14s %9ss  ratio %s  %s\n' "mpg123 -w" "$tm" "$(ratio "$tq" "$tm")" \
  "$(compare "$WORK/mpg123.wav")"
printf '%-14s %9ss  ratio %s  %s\n' "lame --decode" "$tl" "$(ratio "$tq" "$tl")" \
  "$(compare "$WORK/lame.wav")"
