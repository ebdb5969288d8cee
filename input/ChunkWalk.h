#pragma once
// The chunk walk that RIFF (WAV) and IFF (AIFF) files share: an 8-byte header
// of a four-letter id and a length, the body, and a pad byte after an odd
// body, so that every chunk starts at an even offset.

#include <cstdint>
#include <cstdio>
#include <sys/types.h>

enum class ChunkLengthOrder { LittleEndian, BigEndian };

enum class ChunkSearch {
    Found,       // the file stands after the chunk's header
    EndOfFile,   // the file ended inside or before a chunk header
    SkipFailed,  // a body could not be passed over
};

struct ChunkWalk {
    ChunkLengthOrder Order = ChunkLengthOrder::LittleEndian;
    // Where the first chunk starts, for a search that starts over once from
    // there when it meets the end (chunks in any order); -1: no second pass.
    off_t RestartAt = -1;
};

// Looks for chunk `id` from where the file stands; `length` gets its body's length.
ChunkSearch FindChunk(std::FILE* file, const ChunkWalk& walk, const char (&id)[5], uint32_t& length);
