#pragma once
// The decode job's output: a 44-byte RIFF WAVE header and interleaved
// 16-bit little-endian PCM.

#include <cstdint>
#include <cstdio>

#include "input/AudioSource.h"

inline constexpr std::size_t kWavHeaderBytes = 44;
// Written first, while the length is still open; the largest signed value,
// so readers that take the field as signed see a positive size.
inline constexpr uint32_t kProvisionalDataSize = 2147483647u;
// The largest data size whose RIFF size (data + 36) still fits 32 bits, kept
// a multiple of every frame size.
inline constexpr uint32_t kLargestDataSize = 4294967248u;

// Writes the header at the stream's position. Returns 0, or -1 when the
// stream's error indicator is set afterwards.
int WriteWavHeader(std::FILE* output, uint32_t dataSize, uint32_t sampleRate, uint16_t channels,
                   uint16_t bitsPerSample);

// Writes frames [from, to) of a decoder block, left (or mono) sample first,
// in one write. Returns false when the write falls short.
bool WriteWavFrames(std::FILE* output, const int16_t (*block)[kBlockFrames], int32_t channels, int32_t from,
                    int32_t to);
