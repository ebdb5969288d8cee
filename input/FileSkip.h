#pragma once
// Moving forward over bytes a reader does not use (chunk bodies, pad bytes,
// the AIFF sound data offset), and whether a file can move at all.

#include <cstdint>
#include <cstdio>

// Seeks forward by `count` bytes; where the stream cannot seek, reads and
// discards them in pieces of at most kSkipPieceBytes. Returns false when a
// discarding read yields nothing. A seek beyond the end of a regular file
// succeeds; the reader then meets the end at its next read.
bool SkipForwardBytes(std::FILE* file, uint64_t count);

inline constexpr std::size_t kSkipPieceBytes = 1024;

// False for a pipe, which can only be read in order.
bool CanSeek(std::FILE* file);
