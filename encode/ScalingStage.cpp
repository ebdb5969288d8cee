#include "encode/ScalingStage.h"

#include <cmath>

namespace {

constexpr double kDecibelsToAmplitudeExponent = 0.05;

}  // namespace

double GainToScaleFactor(double gainDb) { return std::pow(10.0, kDecibelsToAmplitudeExponent * gainDb); }

int32_t ScalingStage::Read(float** buffers, int32_t frames) {
    const int32_t count = reader_->Read(buffers, frames);
    for (int32_t c = 0; c < reader_->Stream().Channels; ++c) {
        float* samples = buffers[c];
        for (int32_t i = 0; i < count; ++i) samples[i] *= factor_;
    }
    return count;
}

void ApplyScaling(AudioSource& source, double factor) {
    if (!source.Reader) return;
    if (source.Format && source.Format->AppliesScaleFactor) {
        source.Reader->TakeScaleFactor(factor);
    } else {
        source.Reader = std::make_unique<ScalingStage>(std::move(source.Reader), static_cast<float>(factor));
    }
}
