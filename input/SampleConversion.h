#pragma once
// The conversions of every sample layout to the readers' float scale (a
// 16-bit value, full scale 32768.0) and from that scale to 16-bit integers.
// They run once per sample in the read loop, so they stay inline and
// branch-light.

#include <cstdint>

inline constexpr float kSixteenBitFullScale = 32768.0f;
inline constexpr float kPositiveFloatLimit = 32767.0f;
inline constexpr float kNegativeFloatLimit = -32768.0f;

// WAV stores 8-bit samples unsigned, centred on 128.
inline float Unsigned8ToFloat(uint8_t sample) { return static_cast<float>(sample - 128) * 256.0f; }

// AIFF and AIFF-C store 8-bit samples as two's-complement bytes.
inline float Signed8ToFloat(uint8_t sample) { return static_cast<float>(static_cast<int8_t>(sample)) * 256.0f; }

inline float Signed16ToFloat(int16_t sample) { return static_cast<float>(sample); }

// Exact: a 24-bit value fits the float mantissa and 1/256 is a power of two.
inline float Signed24ToFloat(int32_t sample) { return static_cast<float>(sample) * (1.0f / 256.0f); }

// A float cannot hold all 32 bits: converting the whole value would round
// it, and near a multiple of 65536 the rounding crosses into the next 16-bit
// value (65601535 / 65536 = 1000.99998 would become 1001.0). Dividing by 256
// first (toward zero) keeps the 24 high bits exactly, and truncating the
// result later gives the same 16-bit value as truncating sample / 65536.
inline float Signed32ToFloat(int32_t sample) {
    return static_cast<float>(sample / 256) * (1.0f / 256.0f);
}

// IEEE float data: 1.0 is full scale. The positive side stops at 32767 so
// that truncation stays within 16 bits; NaN carries no level and becomes
// silence instead of reaching a float-to-integer conversion.
inline float FloatToScale(float sample) {
    float scaled = sample * kSixteenBitFullScale;
    if (scaled >= kPositiveFloatLimit) return kPositiveFloatLimit;
    if (scaled < kNegativeFloatLimit) return kNegativeFloatLimit;
    if (scaled != scaled) return 0.0f;
    return scaled;
}

// Truncates toward zero, saturating at the 16-bit range: a scaling stage
// between reader and block read may push a sample beyond it, and wrapping
// would turn a loud peak into a full-scale click of the opposite sign.
// Written as selects rather than early returns, so the block loops vectorise.
inline int16_t SaturateToInt16(float sample) {
    float held = sample > 32767.0f ? 32767.0f : sample;
    held = held < -32768.0f ? -32768.0f : held;
    held = sample == sample ? held : 0.0f;
    return static_cast<int16_t>(static_cast<int32_t>(held));
}
