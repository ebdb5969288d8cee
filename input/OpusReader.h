#pragma once
// Opus input through libopusfile, chosen by the file's type: always 48 kHz,
// with the header's output gain, and with the R128 gain when the job scales.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "input/AudioSource.h"

// The file stands at its start. Fills source.Info from the first link; reads
// source.ScaleMode (set by the job before the open) to choose the R128 gain.
// Reports and returns no state when libopusfile cannot open the stream.
OpenedReader OpenOpus(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount);

void CloseOpus(void* state);
