#pragma once
// The ReplayGain scaling put around a container reader: every sample it
// delivers is multiplied by one factor.

#include <memory>

#include "input/AudioSource.h"

// 10^(gain / 20), in double precision.
double GainToScaleFactor(double gainDb);

class ScalingStage final : public AudioReader {
public:
    ScalingStage(std::unique_ptr<AudioReader> reader, float factor) : reader_(std::move(reader)), factor_(factor) {}
    int32_t Read(float** buffers, int32_t frames) override;
    const StreamInfo& Stream() const override { return reader_->Stream(); }
    CommentList& Comments() override { return reader_->Comments(); }
    const ReadError* Damage() const override { return reader_->Damage(); }

private:
    std::unique_ptr<AudioReader> reader_;
    float factor_ = 1.0f;
};

// Scales what `source` reads by `factor`: a row that applies the factor
// itself is given it, any other reader is wrapped in a ScalingStage.
void ApplyScaling(AudioSource& source, double factor);
