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
