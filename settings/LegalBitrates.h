#pragma once
// The bitrates a constant-bitrate MP3 can be held to, for the encoding
// options dialog and the command-line tool alike.

#include <array>
#include <cstdint>

// The bitrates an MPEG-1/2 layer III stream can be held to, kbit/s, ascending.
inline constexpr std::array<int32_t, 17> kLegalBitrates = {8,   16,  24,  32,  40,  48,  56,  64, 80,
                                                           96,  112, 128, 160, 192, 224, 256, 320};
inline constexpr int32_t kMaxBitrate = 320;
// A bitrate target below this is stored as this.
inline constexpr int32_t kMinBitrate = 8;

// The legal bitrate nearest to `kbps`; a value half-way between two goes up.
int32_t NearestLegalBitrate(int32_t kbps);
