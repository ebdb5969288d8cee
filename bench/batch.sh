#!/usr/bin/env bash
# The batch engine with the real jobs, as the window and the tool run it:
# eight files with one worker against the same eight with two.
#
# Prints the speed-up of two workers (aim: at least 1.8 on two cores),
# whether every MP3 of the two runs is byte-identical (aim: identical), and
# the peak memory of the two-worker run against the one-worker run (aim: at
# most 2.2). Needs sox. Each time is the best of RUNS runs; the machine's
# other load shows up here, so rerun when it looks noisy.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=bench/common.sh
source bench/common.sh
SECONDS_EACH=${SECONDS_EACH:-90}

# Music-like load for the psychoacoustic model: pink noise on both channels.
sox -n -r 44100 -b 16 -c 2 "$WORK/one.wav" synth "$SECONDS_EACH" pinknoise pinknoise vol 0.3
files=()
for i in 1 2 3 4 5 6 7 8; do
  for workers in 1 2; do
    mkdir -p "$WORK/j$workers"
    ln -s "$WORK/one.wav" "$WORK/j$workers/f$i.wav"
  done
  files+=("f$i.wav")
done

# peak_kib DIR COMMAND...: the largest resident size the command reached, in KiB.
peak_kib() {
  local dir=$1; shift
  (cd "$dir" && /usr/bin/python3 -c '
import resource, subprocess, sys
subprocess.run(sys.argv[1:], check=True, stdout=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$@")
}

echo "Eight files of ${SECONDS_EACH} s each, default settings, best of $RUNS runs"
t1=$(best_time "$WORK/j1" "$CLI" -q -j 1 "${files[@]}")
t2=$(best_time "$WORK/j2" "$CLI" -q -j 2 "${files[@]}")
same=identical
for f in "${files[@]}"; do
  cmp -s "$WORK/j1/${f%.wav}.mp3" "$WORK/j2/${f%.wav}.mp3" || same=DIFFERENT
done
m1=$(peak_kib "$WORK/j1" "$CLI" -q -j 1 "${files[@]}")
m2=$(peak_kib "$WORK/j2" "$CLI" -q -j 2 "${files[@]}")
echo "one worker: ${t1}s   two workers: ${t2}s   speed-up: $(ratio "$t1" "$t2")   outputs: $same"
echo "peak memory: ${m1} KiB and ${m2} KiB   ratio: $(ratio "$m2" "$m1")"
