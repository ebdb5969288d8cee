#!/usr/bin/env bash
# Installs the dependencies, builds Quavermill, and converts a short generated
# WAV file to MP3 with the command-line tool, so the main job is seen working.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Only the two programs and what installing them needs; scripts/test.sh
# builds the tests. ccache, when present, makes later builds quick.
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BUILD_TESTS=OFF "${launcher[@]}"
cmake --build build -j2
# Demo: two seconds of a two-tone WAV (written with Python's standard library)
# become build/demo.mp3.
python3 -c "import math, struct, wave
w = wave.open('build/demo.wav', 'wb'); w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
w.writeframes(b''.join(struct.pack('<hh', int(12000 * math.sin(2 * math.pi * 440 * i / 44100)),
                                   int(12000 * math.sin(2 * math.pi * 660 * i / 44100))) for i in range(88200)))
w.close()"
(cd build && ./cli/quavermill-cli demo.wav) && ls -l build/demo.wav build/demo.mp3
