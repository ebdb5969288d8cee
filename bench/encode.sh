#!/usr/bin/env bash
# Encoding speed and output against the lame command-line tool.
#
# Builds quavermill-cli in Release, encodes one generated 10-minute stereo WAV
# with it and with lame at the same settings (VBR 2, CBR 192, ABR 150), and
# prints for each the time ratio (aim: at most 1.02) and whether the MPEG
# audio frames after the LAME-tag frame are byte-identical (aim: identical).
# bench/batch.sh measures several files at once.
#
# Needs sox and lame (/usr/bin/lame). Each time is the best of RUNS runs.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=bench/common.sh
source bench/common.sh
SECONDS_LONG=${SECONDS_LONG:-600}

# Music-like load for the psychoacoustic model: pink noise on both channels.
sox -n -r 44100 -b 16 -c 2 "$WORK/long.wav" synth "$SECONDS_LONG" pinknoise pinknoise vol 0.3

echo "Encoding ${SECONDS_LONG} s of stereo 44.1 kHz audio, best of $RUNS runs"
printf '%-8s %10s %10s %7s  %s\n' setting quavermill lame ratio "frames after the LAME-tag frame"
for setting in "VBR 2|SetBitrate=0|-V 2" "CBR 192|SetBitrate=1\nSetCBR=1\nCBRBitrate=192|--preset cbr 192" \
               "ABR 150|SetBitrate=1\nSetCBR=0\nABRBitrate=150|--preset 150"; do
  IFS='|' read -r name ini lameArgs <<<"$setting"
  dir=$WORK/$(echo "$name" | tr ' ' '_')
  mkdir -p "$dir"
  ln -s "$WORK/long.wav" "$dir/long.wav"
  printf "[Quavermill]\n$ini\n" >"$dir/Quavermill.ini"
  # shellcheck disable=SC2086
  tq=$(best_time "$dir" "$CLI" -q -j 1 long.wav)
  # shellcheck disable=SC2086
  tl=$(best_time "$dir" lame --quiet $lameArgs long.wav reference.mp3)
  printf '%-8s %9ss %9ss %7s  %s\n' "$name" "$tq" "$tl" "$(ratio "$tq" "$tl")" "$(same_frames "$dir/long.mp3" "$dir/reference.mp3")"
done

