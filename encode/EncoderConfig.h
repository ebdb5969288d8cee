#pragma once
// The encoder library's context for one file and the calls that configure it
// from the settings, made before the input is opened.

#include <memory>

#include <lame/lame.h>

#include "settings/Settings.h"

struct LameCloser {
    void operator()(lame_global_flags* context) const { if (context) lame_close(context); }
};
using LameContext = std::unique_ptr<lame_global_flags, LameCloser>;

// The engine quality the library uses when nobody asks for another; no call
// is made for it, so a preset's own choice stands.
inline constexpr int kLibraryDefaultEngineQuality = 3;

// The library's VBR quality for a slider position 1..1001: (1001 - pos) / 100.
float VbrQualityForSlider(float sliderPosition);

// Channel mode, LAME-tag frame, the VBR, ABR or CBR target and ReplayGain
// analysis, in the library's required order. Results are not examined: only
// lame_init_params can refuse the settings.
void ConfigureEncoder(lame_t context, const Settings& options);
