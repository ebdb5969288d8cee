#include "settings/LegalBitrates.h"

#include <cstddef>

int32_t NearestLegalBitrate(int32_t kbps)
{
    if (kbps >= kMaxBitrate) return kMaxBitrate;
    for (std::size_t i = 1; i < kLegalBitrates.size(); ++i) {
        const int32_t upper = kLegalBitrates[i];
        if (upper <= kbps) continue;
        const int32_t lower = kLegalBitrates[i - 1];
        // 64-bit: kbps may be any int32 far below the table.
        const int64_t to_upper = int64_t{upper} - kbps;
        const int64_t to_lower = int64_t{kbps} - lower;
        return to_upper > to_lower ? lower : upper;
    }
    return kMaxBitrate;
}
