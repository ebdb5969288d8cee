#include "input/FileSkip.h"

#include <limits>
#include <sys/types.h>

bool SkipForwardBytes(std::FILE* file, uint64_t count) {
    if (count == 0) return true;
    // 64-bit file offsets, so chunk lengths of 2 GiB and more seek in one step.
    if (count <= static_cast<uint64_t>(std::numeric_limits<off_t>::max()) &&
        fseeko(file, static_cast<off_t>(count), SEEK_CUR) == 0) {
        return true;
    }
    // A stream that cannot seek (a pipe) is read through instead.
    unsigned char discard[kSkipPieceBytes];
    while (count > 0) {
        std::size_t piece = count < kSkipPieceBytes ? static_cast<std::size_t>(count) : kSkipPieceBytes;
        std::size_t got = std::fread(discard, 1, piece, file);
        if (got == 0) return false;
        count -= got;
    }
    return true;
}

bool CanSeek(std::FILE* file) {
    return fseeko(file, 0, SEEK_CUR) == 0;
}
