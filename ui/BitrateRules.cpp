#include "ui/BitrateRules.h"

#include <algorithm>
#include <cstdio>
#include <limits>

int32_t EstimateVbrBitrate(int32_t sliderPosition) {
    constexpr int32_t kLowEstimate = 64;
    constexpr int32_t kEstimateSpan = 192;
    return static_cast<int32_t>(kLowEstimate + int64_t{kEstimateSpan} * sliderPosition / kSliderMax);
}

int32_t ClampSliderPosition(int32_t sliderPosition) { return std::clamp(sliderPosition, kSliderMin, kSliderMax); }

std::string FormatVbrLevel(int32_t sliderPosition) {
    double level = (kSliderMax - static_cast<double>(sliderPosition)) / 100.0;
    // A level that rounds to zero must not print as "-0.00".
    if (level > -0.005 && level < 0.005) level = 0.0;
    char text[32];
    std::snprintf(text, sizeof text, "%-4.2f", level);
    return text;
}

std::string CleanBitrateText(const std::string& text, bool* capped) {
    const auto first_other = std::find_if(text.begin(), text.end(), [](char c) { return c < '0' || c > '9'; });
    std::string digits(text.begin(), first_other);
    const bool too_high = BitrateTextValue(digits) > kMaxBitrate;
    if (capped) *capped = too_high;
    if (too_high) digits = std::to_string(kMaxBitrate);
    return digits;
}

int32_t BitrateTextValue(const std::string& digits) {
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}
