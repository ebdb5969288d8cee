#!/usr/bin/env bash
# Reading through libavformat: a 10-minute M4A (AAC) to MP3 against the pipe
# `ffmpeg -i x.m4a -f wav - | lame - x.mp3` at the same setting (VBR 2).
#
# Builds quavermill-cli in Release and prints the time ratio (aim: at most
# 1.05) and whether the MPEG audio frames after the LAME-tag frame are
# byte-identical to the pipe's (aim: identical).
#
# Needs sox, ffmpeg and lame. Each time is the best of RUNS runs.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=bench/common.sh
source bench/common.sh
SECONDS_LONG=${SECONDS_LONG:-600}

sox -n -r 44100 -b 16 -c 2 "$WORK/long.wav" synth "$SECONDS_LONG" pinknoise pinknoise vol 0.3
ffmpeg -v error -i "$WORK/long.wav" -c:a aac -b:a 192k "$WORK/long.m4a"
rm "$WORK/long.wav"
printf '[Quavermill]\nSetBitrate=0\n' >"$WORK/Quavermill.ini"

tq=$(best_time "$WORK" "$CLI" -q -j 1 long.m4a)
tp=$(best_time "$WORK" sh -c 'ffmpeg -v error -i long.m4a -f wav - | lame --quiet -V 2 - reference.mp3')
echo "Converting ${SECONDS_LONG} s of stereo 44.1 kHz AAC in M4A to MP3 (VBR 2), best of $RUNS runs"
printf '%10s %10s %7s  %s\n' quavermill pipe ratio "frames after the LAME-tag frame"
printf '%9ss %9ss %7s  %s\n' "$tq" "$tp" "$(ratio "$tq" "$tp")" \
  "$(same_frames "$WORK/long.mp3" "$WORK/reference.mp3")"
