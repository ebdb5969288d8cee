#pragma once
// RIFF WAVE input: integer PCM of 8, 16, 24 or 32 bits and 32-bit IEEE float,
// plain or in the extensible format.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "input/AudioSource.h"

// "RIFF", a size, "WAVE".
inline constexpr std::size_t kWavProbeLength = 12;

bool ProbeWav(const uint8_t* bytes, std::size_t count);

// The file stands right after the 12-byte file header (the probe bytes are
// not needed). On success fills source.Info (channels, rate, sample count)
// and gives the reader; on failure has reported why and set nothing.
OpenedReader OpenWav(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount);
