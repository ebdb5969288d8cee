#pragma once
// FLAC input through libFLAC's stream decoder: 4 to 32 bits per sample, with
// the Vorbis comments of the stream.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "input/AudioSource.h"

// "fLaC".
inline constexpr std::size_t kFlacProbeLength = 4;

bool ProbeFlac(const uint8_t* bytes, std::size_t count);

// The file stands after the probed bytes, which the decoder is given first.
// Decodes the metadata and the first frame: source.Info takes the channel
// count of that frame (0 when no frame decodes, which the channel check
// refuses) and the rate and count of STREAMINFO.
OpenedReader OpenFlac(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount);

void CloseFlac(void* state);
