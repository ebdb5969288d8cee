#pragma once
// The conversions of every sample layout to the readers' float scale (a
// 16-bit value, full scale 32768.0) and from that scale to 16-bit integers.
// They run once per sample in the read loop, so they stay inline and
// branch-light.

#include <cmath>
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

// FLAC samples of 4 to 32 bits: sample x 2^(16 - bits), so 16-bit samples
// stay as they are, 24-bit ones are divided by 256 and 8-bit ones multiplied
// by 256. Up to 24 bits the float holds the sample exactly and the power of
// two is exact; wider samples are first divided toward zero down to 24 bits,
// for the reason given at Signed32ToFloat.
inline float FlacSampleToFloat(int32_t sample, uint32_t bits) {
    if (bits > 24) return static_cast<float>(sample / (int32_t{1} << (bits - 24))) * (1.0f / 256.0f);
    if (bits >= 16) return static_cast<float>(sample) * (1.0f / static_cast<float>(1u << (bits - 16)));
    return static_cast<float>(sample) * static_cast<float>(1u << (16 - bits));
}

// libvorbis delivers floats with 1.0 as full scale, and overshoots it. The
// upper clamp is the single-precision value nearest 0.9999694 and the lower
// one -1.0; x 32767 rounded half to even then stays within -32767..32766. NaN
// carries no level and becomes silence.
inline constexpr double kVorbisUpperClamp = 0.9999694;
inline constexpr float kVorbisUpperValue = 0.99996942281723022f;
inline int16_t VorbisFloatToInt16(float sample) {
    if (static_cast<double>(sample) > kVorbisUpperClamp) sample = kVorbisUpperValue;
    else if (sample < -1.0f) sample = -1.0f;
    else if (sample != sample) return 0;
    // The default rounding mode rounds halves to the even neighbour.
    return static_cast<int16_t>(std::nearbyint(static_cast<double>(sample) * 32767.0));
}

// The ReplayGain factor on a rounded Ogg Vorbis sample, truncated toward zero.
// A positive gain on a loud passage goes past 16 bits: saturated like every
// other reader's samples, since wrapping turns a peak into a click.
inline int16_t ScaleVorbisSample(int16_t sample, double factor) {
    const double scaled = sample * factor;
    if (scaled >= 32767.0) return 32767;
    if (scaled <= -32768.0) return -32768;
    if (scaled != scaled) return 0;
    return static_cast<int16_t>(static_cast<int32_t>(scaled));
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
