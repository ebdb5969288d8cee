#pragma once
// Rules of the encoding options dialog that need no widgets: the legal MP3
// bitrates, the estimate shown for a VBR slider position, and the clean-up
// of the bitrate box's text.

#include <array>
#include <cstdint>
#include <string>

#include "settings/LegalBitrates.h"

// Ends of the VBR slider; position p stands for quality V = (1001 - p) / 100.
inline constexpr int32_t kSliderMin = 1;
inline constexpr int32_t kSliderMax = 1001;

// The bitrate shown as the estimate for a slider position.
int32_t EstimateVbrBitrate(int32_t sliderPosition);

// `sliderPosition` brought to the nearer end of the slider when outside it.
int32_t ClampSliderPosition(int32_t sliderPosition);

// The V level of a slider position as the dialog shows it: two decimals,
// left-aligned in at least four characters, never "-0.00".
std::string FormatVbrLevel(int32_t sliderPosition);

// The bitrate box's text after its rules: cut at the first character that
// is not a decimal digit, then "320" when the number is above 320.
// `capped` tells whether the second rule fired (the box then selects it).
std::string CleanBitrateText(const std::string& text, bool* capped = nullptr);

// The box's digits as a number; empty reads as 0, too many digits saturate.
int32_t BitrateTextValue(const std::string& digits);
