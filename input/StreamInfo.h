#pragma once
// What a reader tells about the stream it opened. Every reader fills the
// first three fields; the MPEG fields stay unknown for other sources.

#include <cstdint>

// A sample count the stream does not give (distinct from a stream of 0 frames).
inline constexpr int64_t kSampleCountNotGiven = -1;
// An MPEG field the stream has not told (yet).
inline constexpr int32_t kMpegFieldUnknown = -1;

// The order a format gives its channels in, which tells the downmix the
// speaker each channel feeds.
enum class ChannelOrder : uint8_t {
    Wav,     // the speakers of ChannelMask in ascending bit order (WAV, AIFF, FLAC, libavutil)
    Vorbis,  // the Vorbis order (Vorbis, Opus)
};

struct StreamInfo {
    int32_t Channels = 0;
    int32_t SampleRate = 0;                       // Hz
    int64_t SampleCount = kSampleCountNotGiven;  // frames per channel
    ChannelOrder Order = ChannelOrder::Wav;
    uint64_t ChannelMask = 0;  // WAV speaker bits; 0: the usual layout of the count

    // MPEG audio only.
    int32_t Layer = kMpegFieldUnknown;          // 1, 2 or 3
    int32_t Bitrate = kMpegFieldUnknown;        // kbit/s of the first frame; 0 for free format
    int32_t Mode = kMpegFieldUnknown;           // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    int32_t ModeExtension = kMpegFieldUnknown;
    int32_t FrameSize = kMpegFieldUnknown;      // sample frames per MPEG frame: 384, 576 or 1152
    int64_t FrameCount = kMpegFieldUnknown;     // from a Xing/Info header frame
    int32_t EncoderDelay = kMpegFieldUnknown;   // samples, from the LAME header
    int32_t EncoderPadding = kMpegFieldUnknown;
};

inline bool IsMpegStream(const StreamInfo& info) { return info.Layer != kMpegFieldUnknown; }
