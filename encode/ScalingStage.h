#pragma once
// The ReplayGain scaling put in front of a container reader: every sample
// it delivers is multiplied by one factor.

#include <cstdint>

#include "input/AudioSource.h"

struct ScalingStage {
    ReadOperation PreviousRead = nullptr;
    void* PreviousState = nullptr;
    int32_t Channels = 0;
    float Factor = 1.0f;
};

// 10^(gain / 20), in double precision.
double GainToScaleFactor(double gainDb);

// Makes `source` read through `stage` (which the caller keeps alive) until
// RemoveScalingStage puts the reader back. A source without a ReadOp is left
// as it is.
void InstallScalingStage(AudioSource& source, ScalingStage& stage, float factor);
void RemoveScalingStage(AudioSource& source, ScalingStage& stage);

// Installs on construction and removes on destruction, so the reader is
// always restored before the source is closed, on every path.
class ScopedScalingStage {
public:
    ScopedScalingStage(AudioSource& source, float factor);
    ~ScopedScalingStage();
    ScopedScalingStage(const ScopedScalingStage&) = delete;
    ScopedScalingStage& operator=(const ScopedScalingStage&) = delete;

private:
    AudioSource& source_;
    ScalingStage stage_;
};
