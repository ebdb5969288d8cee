#pragma once
// RIFF WAVE input: integer PCM of 8, 16, 24 or 32 bits and 32-bit IEEE float,
// plain or in the extensible format.

#include <cstdint>
#include <span>

#include "input/AudioReader.h"
#include "input/InputFile.h"

// "RIFF", a size, "WAVE".
bool ProbeWav(std::span<const uint8_t> head);

// The file stands at its start. Warnings of a header that is still read go
// to the request's reporter.
OpenedReader OpenWav(FilePtr file, const OpenRequest& request);
