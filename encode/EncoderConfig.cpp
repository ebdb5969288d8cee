#include "encode/EncoderConfig.h"

namespace {

constexpr float kVbrSliderTop = 1001.0f;
constexpr double kVbrSliderStepsPerLevel = 100.0;

}  // namespace

float VbrQualityForSlider(float sliderPosition) {
    return static_cast<float>((static_cast<double>(kVbrSliderTop) - static_cast<double>(sliderPosition)) /
                              kVbrSliderStepsPerLevel);
}

void ConfigureEncoder(lame_t context, const Settings& options) {
    if (options.Mono.On()) {
        lame_set_mode(context, MONO);
        lame_set_num_channels(context, 1);
    } else {
        lame_set_mode(context, JOINT_STEREO);
        lame_set_num_channels(context, 2);
    }
    // The stream always starts with a LAME-tag frame; the encode loop rewrites
    // it once the whole stream is known.
    lame_set_bWriteVbrTag(context, 1);

    if (options.SetBitrate == TargetChoice::Bitrate) {
        const int32_t quality = LibraryEngineQuality(options.Quality);
        if (quality != kLibraryDefaultEngineQuality) lame_set_quality(context, quality);
        if (options.SetCBR == BitrateKindChoice::Constant) {
            // A bitrate preset selects ABR with its tuning; turning VBR off
            // keeps that tuning at a constant rate.
            lame_set_preset(context, options.CBRBitrate);
            lame_set_VBR(context, vbr_off);
        } else if (options.SetCBR == BitrateKindChoice::Average) {
            lame_set_preset(context, options.ABRBitrate);
        }
    } else {
        lame_set_VBR(context, vbr_mtrh);
        lame_set_VBR_quality(context, VbrQualityForSlider(static_cast<float>(options.VBRQuality)));
    }
    // The measured gain ends up in the LAME-tag frame.
    lame_set_findReplayGain(context, 1);
}
