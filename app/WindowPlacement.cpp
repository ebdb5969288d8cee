#include "app/WindowPlacement.h"

#include <algorithm>

int ClampWindowCoordinate(int32_t stored, int screenExtent) {
    // 64-bit, so an INI value near INT32_MIN cannot overflow the comparison.
    const int64_t farthest = static_cast<int64_t>(screenExtent) - kWindowSide;
    const int64_t placed = std::min<int64_t>(stored, farthest);
    return placed <= 0 ? 0 : static_cast<int>(placed);
}
