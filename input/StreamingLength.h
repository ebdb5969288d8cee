#pragma once
// Length fields that do not give a length. A program writing while it
// streams cannot know the final size and leaves 0, or the largest signed or
// unsigned 32-bit value, to be patched later; when it never patches them the
// length is unknown, and a file shorter than such a value is not damaged.

#include <cstdint>

inline bool IsStreamingLength(uint32_t length) {
    return length == 0 || length == 0x7FFFFFFFu || length == 0xFFFFFFFFu;
}
