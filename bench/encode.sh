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

# Audio frames after the LAME-tag frame, compared byte for byte.
same_frames() {
  /usr/bin/python3 - "$1" "$2" <<'PY'
import sys
def frames_after_lame_tag(path):
    data = open(path, 'rb').read()
    start = 0
    if data[:3] == b'ID3':
        start = 10 + ((data[6] & 0x7f) << 21 | (data[7] & 0x7f) << 14 | (data[8] & 0x7f) << 7 | (data[9] & 0x7f))
    end = len(data) - 128 if data[-128:-125] == b'TAG' else len(data)
    rates = {3: (44100, 48000, 32000), 2: (22050, 24000, 16000), 0: (11025, 12000, 8000)}
    v1 = (0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320)
    v2 = (0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160)
    h = data[start:start + 4]
    version = (h[1] >> 3) & 3
    rate = rates[version][(h[2] >> 2) & 3]
    kbps = (v1 if version == 3 else v2)[h[2] >> 4]
    size = (144000 if version == 3 else 72000) * kbps // rate + ((h[2] >> 1) & 1)
    return data[start + size:end]
a, b = (frames_after_lame_tag(p) for p in sys.argv[1:3])
print('identical' if a == b and len(a) > 0 else 'DIFFERENT (%d vs %d bytes)' % (len(a), len(b)))
PY
}

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

