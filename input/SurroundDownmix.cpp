#include "input/SurroundDownmix.h"

#include <algorithm>
#include <cmath>

namespace {

// -3 dB.
constexpr float kHalfPower = 0.70710678f;

enum class Side { Left, Right, Both, None };

// WAV speaker bits (the same in libavutil's native layouts) and where each
// goes. The front pair of a 7.1 "wide" layout counts as front.
struct SpeakerSide {
    uint64_t Bit;
    Side To;
    float Weight;
};
constexpr SpeakerSide kSpeakers[] = {
    {0x1, Side::Left, 1.0f},            // front left
    {0x2, Side::Right, 1.0f},           // front right
    {0x4, Side::Both, kHalfPower},      // front centre
    {0x8, Side::None, 0.0f},            // LFE
    {0x10, Side::Left, kHalfPower},     // back left
    {0x20, Side::Right, kHalfPower},    // back right
    {0x40, Side::Left, 1.0f},           // front left of centre
    {0x80, Side::Right, 1.0f},          // front right of centre
    {0x100, Side::Both, kHalfPower},    // back centre
    {0x200, Side::Left, kHalfPower},    // side left
    {0x400, Side::Right, kHalfPower},   // side right
    {0x800, Side::Both, kHalfPower},    // top centre
    {0x1000, Side::Left, kHalfPower},   // top front left
    {0x2000, Side::Both, kHalfPower},   // top front centre
    {0x4000, Side::Right, kHalfPower},  // top front right
    {0x8000, Side::Left, kHalfPower},   // top back left
    {0x10000, Side::Both, kHalfPower},  // top back centre
    {0x20000, Side::Right, kHalfPower}, // top back right
};

constexpr uint64_t kFrontLeft = 0x1, kFrontRight = 0x2, kCentre = 0x4, kLfe = 0x8, kBackLeft = 0x10,
                   kBackRight = 0x20, kBackCentre = 0x100, kSideLeft = 0x200, kSideRight = 0x400;

// The layouts WAVE_FORMAT_EXTENSIBLE and FLAC give each count by default.
constexpr uint64_t kWavDefaultMasks[kMostDownmixChannels + 1] = {
    0, kCentre, kFrontLeft | kFrontRight, 0x7, 0x33, 0x37, 0x3F, 0x70F, 0x63F};

// The Vorbis order, which Opus shares: the centre between the fronts, the LFE last.
constexpr uint64_t kVorbisOrder[kMostDownmixChannels + 1][kMostDownmixChannels] = {
    {},
    {kCentre},
    {kFrontLeft, kFrontRight},
    {kFrontLeft, kCentre, kFrontRight},
    {kFrontLeft, kFrontRight, kBackLeft, kBackRight},
    {kFrontLeft, kCentre, kFrontRight, kBackLeft, kBackRight},
    {kFrontLeft, kCentre, kFrontRight, kBackLeft, kBackRight, kLfe},
    {kFrontLeft, kCentre, kFrontRight, kSideLeft, kSideRight, kBackCentre, kLfe},
    {kFrontLeft, kCentre, kFrontRight, kSideLeft, kSideRight, kBackLeft, kBackRight, kLfe},
};

void AddSpeaker(uint64_t bit, int32_t channel, DownmixWeights& weights) {
    Side to = Side::Both;
    float weight = kHalfPower;
    for (const SpeakerSide& speaker : kSpeakers) {
        if (speaker.Bit == bit) {
            to = speaker.To;
            weight = speaker.Weight;
        }
    }
    if (to == Side::Left || to == Side::Both) weights.Left[channel] = weight;
    if (to == Side::Right || to == Side::Both) weights.Right[channel] = weight;
}

}  // namespace

DownmixWeights DownmixWeightsFor(int32_t channels, ChannelOrder order, uint64_t mask) {
    DownmixWeights weights;
    channels = std::clamp(channels, 0, kMostDownmixChannels);
    if (order == ChannelOrder::Vorbis) {
        for (int32_t c = 0; c < channels; ++c) AddSpeaker(kVorbisOrder[channels][c], c, weights);
    } else {
        // Channels past the mask's speakers have none.
        uint64_t speakers = mask != 0 ? mask : kWavDefaultMasks[channels];
        for (int32_t c = 0; c < channels; ++c) {
            const uint64_t bit = speakers & (~speakers + 1);
            speakers &= ~bit;
            AddSpeaker(bit, c, weights);
        }
    }
    float leftSum = 0.0f;
    float rightSum = 0.0f;
    for (int32_t c = 0; c < channels; ++c) {
        leftSum += weights.Left[c];
        rightSum += weights.Right[c];
    }
    const float scale = 1.0f / std::max({leftSum, rightSum, 1.0f});
    for (int32_t c = 0; c < channels; ++c) {
        weights.Left[c] *= scale;
        weights.Right[c] *= scale;
    }
    return weights;
}

DownmixStage::DownmixStage(std::unique_ptr<AudioReader> reader)
    : reader_(std::move(reader)), stream_(reader_->Stream()) {
    weights_ = DownmixWeightsFor(stream_.Channels, stream_.Order, stream_.ChannelMask);
    stream_.Channels = 2;
}

int32_t DownmixStage::Read(float** buffers, int32_t frames) {
    float* channels[kMostDownmixChannels];
    for (int32_t c = 0; c < kMostDownmixChannels; ++c) channels[c] = channels_[c];
    const int32_t got = reader_->Read(channels, std::min(frames, kBlockFrames));
    const int32_t count = std::min(reader_->Stream().Channels, kMostDownmixChannels);
    for (int32_t i = 0; i < got; ++i) {
        float left = 0.0f;
        float right = 0.0f;
        for (int32_t c = 0; c < count; ++c) {
            left += weights_.Left[c] * channels_[c][i];
            right += weights_.Right[c] * channels_[c][i];
        }
        buffers[0][i] = left;
        buffers[1][i] = right;
    }
    return got;
}
