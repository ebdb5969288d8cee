#pragma once
// Surround sound mixed to stereo, for every reader: LAME encodes one or two
// channels. The ITU-R BS.775 downmix: the centre into both sides at -3 dB,
// each surround into its own side at -3 dB, the LFE channel left out; the
// whole is scaled so that channels at full scale together never clip.

#include <cstdint>
#include <memory>

#include "input/AudioReader.h"

inline constexpr int32_t kMostDownmixChannels = 8;

// What each channel of a stream adds to the left and the right output.
struct DownmixWeights {
    float Left[kMostDownmixChannels] = {};
    float Right[kMostDownmixChannels] = {};
};

// For a stream of 3 to kMostDownmixChannels channels: its order and channel
// mask tell the speaker of each channel. A channel of no known speaker goes
// to both sides at -3 dB.
DownmixWeights DownmixWeightsFor(int32_t channels, ChannelOrder order, uint64_t mask);

// A reader of 3 to kMostDownmixChannels channels, read as stereo.
class DownmixStage final : public AudioReader {
public:
    explicit DownmixStage(std::unique_ptr<AudioReader> reader);
    int32_t Read(float** buffers, int32_t frames) override;
    const StreamInfo& Stream() const override { return stream_; }
    CommentList& Comments() override { return reader_->Comments(); }
    const ReadError* Damage() const override { return reader_->Damage(); }
    void TakeScaleFactor(double factor) override { reader_->TakeScaleFactor(factor); }

private:
    std::unique_ptr<AudioReader> reader_;
    StreamInfo stream_;
    DownmixWeights weights_;
    float channels_[kMostDownmixChannels][kBlockFrames];
};
