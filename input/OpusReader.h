#pragma once
// Opus input through libopusfile: always 48 kHz, with the header's output
// gain, and with each link's own R128 gain when the job scales.

#include <cstdint>
#include <span>

#include "input/AudioReader.h"
#include "input/InputFile.h"

// An Ogg file whose first packet is an Opus identification header.
bool ProbeOpus(std::span<const uint8_t> head);

// The file stands at its start. The stream record comes from the first
// link; request.Scaling chooses the R128 gain.
OpenedReader OpenOpus(FilePtr file, const OpenRequest& request);
