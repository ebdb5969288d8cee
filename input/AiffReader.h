#pragma once
// AIFF and AIFF-C input: uncompressed 8- and 16-bit samples, AIFF-C with the
// compression types "NONE" (big-endian) and "sowt" (little-endian).

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "input/AudioSource.h"

// "FORM", a size, "AIFF" or "AIFC".
inline constexpr std::size_t kAiffProbeLength = 12;

bool ProbeAiff(const uint8_t* bytes, std::size_t count);

// The file stands right after the 12-byte file header; byte 11 of the probe
// bytes tells AIFF-C from AIFF. On success fills source.Info (channels,
// rate, sample count) and gives the reader; on failure has reported why
// and set nothing.
OpenedReader OpenAiff(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount);

// The sample rate in an 80-bit IEEE 754 extended float (10 bytes,
// big-endian), truncated to whole hertz. 0 when it gives no usable rate:
// zero or below one hertz, infinite, not a number, or beyond the signed
// 32-bit range of mp3data_struct::samplerate.
int32_t AiffRateToHertz(const uint8_t* extended);
