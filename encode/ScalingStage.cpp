#include "encode/ScalingStage.h"

#include <cmath>

namespace {

constexpr double kDecibelsToAmplitudeExponent = 0.05;

int32_t ReadScaled(void* state, float** buffers, int32_t frames) {
    auto& stage = *static_cast<ScalingStage*>(state);
    int32_t count = stage.PreviousRead(stage.PreviousState, buffers, frames);
    for (int32_t c = 0; c < stage.Channels; ++c) {
        float* samples = buffers[c];
        for (int32_t i = 0; i < count; ++i) samples[i] *= stage.Factor;
    }
    return count;
}

}  // namespace

double GainToScaleFactor(double gainDb) { return std::pow(10.0, kDecibelsToAmplitudeExponent * gainDb); }

void InstallScalingStage(AudioSource& source, ScalingStage& stage, float factor) {
    stage.PreviousRead = source.ReadOp;
    stage.PreviousState = source.ReadState;
    stage.Channels = source.Channels;
    stage.Factor = factor;
    if (!source.ReadOp) return;
    source.ReadOp = ReadScaled;
    source.ReadState = &stage;
}

void RemoveScalingStage(AudioSource& source, ScalingStage& stage) {
    if (source.ReadOp != ReadScaled || source.ReadState != &stage) return;
    source.ReadOp = stage.PreviousRead;
    source.ReadState = stage.PreviousState;
}

ScopedScalingStage::ScopedScalingStage(AudioSource& source, float factor) : source_(source) {
    InstallScalingStage(source_, stage_, factor);
}

ScopedScalingStage::~ScopedScalingStage() { RemoveScalingStage(source_, stage_); }
