# Shared by the benchmarks: a Release build of quavermill-cli, a scratch
# folder removed at the end, and the best-of-RUNS timer. Source it from the
# top of the checkout.

ROOT=$PWD
BUILD=${BUILD:-$ROOT/build-bench}
RUNS=${RUNS:-3}

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DQM_BUILD_GUI=OFF -DQM_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"${JOBS:-2}" --target quavermill-cli >/dev/null
CLI=$BUILD/cli/quavermill-cli

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quavermill-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT

now_ns() { date +%s%N; }

# best_time DIR COMMAND...: the shortest wall time of RUNS runs in DIR, in seconds.
best_time() {
  local dir=$1; shift
  local best=""
  for _ in $(seq "$RUNS"); do
    local start end t
    start=$(now_ns)
    (cd "$dir" && "$@" >/dev/null)
    end=$(now_ns)
    t=$(( end - start ))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

# ratio A B: A / B with three decimals.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

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
