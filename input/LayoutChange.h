#pragma once
// What the FLAC, Ogg Vorbis and Opus readers do when a later frame or link of a
// stream has another layout than the one the open reported: the caller holds
// buffers for that first layout only, and the encoder was set up for its rate.

#include <cstdint>
#include <string>

#include "settings/ErrorReport.h"

// The stream channel that fills channel `layoutChannel` of the first layout.
// Extra stream channels are dropped; a missing one gets the first channel, as
// a mono source is heard on both sides, rather than silence on one side.
inline int32_t StreamChannelFor(int32_t layoutChannel, int32_t streamChannels) {
    return layoutChannel < streamChannels ? layoutChannel : 0;
}

// The samples at the new rate cannot go into the same output; the reader
// ends the data there and marks the source damaged.
inline void ReportSampleRateChange(const ErrorReporter& errors, long firstRate, long laterRate) {
    ReportMessage(errors, "The sample rate changes inside the stream, from " + std::to_string(firstRate) + " Hz to " +
                              std::to_string(laterRate) + " Hz\n");
}

// A mono first layout hears a later link of more channels as their mean:
// its first channel alone would drop whatever the others hold.
inline float MixedToMono(const float* const* channels, int32_t count, int32_t frame) {
    float sum = 0.0f;
    for (int32_t c = 0; c < count; ++c) sum += channels[c][frame];
    return sum / static_cast<float>(count);
}
