#include "input/ChunkWalk.h"

#include <cstring>

#include "input/ByteOrder.h"
#include "input/FileSkip.h"

ChunkSearch FindChunk(std::FILE* file, const ChunkWalk& walk, const char (&id)[5], uint32_t& length) {
    bool restarted = walk.RestartAt < 0;
    for (;;) {
        uint8_t header[8];
        if (std::fread(header, 1, sizeof header, file) < sizeof header) {
            if (!restarted && fseeko(file, walk.RestartAt, SEEK_SET) == 0) {
                restarted = true;
                continue;
            }
            return ChunkSearch::EndOfFile;
        }
        const uint32_t bodyLength = walk.Order == ChunkLengthOrder::BigEndian ? LoadBE32(header + 4) : LoadLE32(header + 4);
        if (std::memcmp(header, id, 4) == 0) {
            length = bodyLength;
            return ChunkSearch::Found;
        }
        if (!SkipForwardBytes(file, static_cast<uint64_t>(bodyLength) + (bodyLength & 1))) return ChunkSearch::SkipFailed;
    }
}
