#pragma once
// Length fields that do not give a length. A program writing while it
// streams cannot know the final size and leaves 0, or the largest signed or
// unsigned 32-bit value, to be patched later; when it never patches them the
// length is unknown, and a file shorter than such a value is not damaged.

#include <cstdint>

#include "input/AudioSource.h"

inline bool IsStreamingLength(uint32_t length) {
    return length == 0 || length == 0x7FFFFFFFu || length == 0xFFFFFFFFu;
}

// The frame count as mp3data_struct::nsamp carries it: the not-given value
// when unknown, and never a known count that would read as not given.
inline unsigned long SampleCountForInfo(int64_t frames, bool known) {
    if (!known || frames < 0 || frames >= static_cast<int64_t>(kUnknownSampleCount)) return kUnknownSampleCount;
    return static_cast<unsigned long>(frames);
}
