#pragma once
// Ogg Vorbis input through libvorbisfile. The reader rounds to 16-bit values
// itself and applies the ReplayGain factor.

#include <cstdint>
#include <span>

#include "input/AudioReader.h"
#include "input/InputFile.h"

// An Ogg file whose first packet is a Vorbis identification header.
bool ProbeOggVorbis(std::span<const uint8_t> head);

// The file stands at its start. The stream record comes from the first link.
OpenedReader OpenOggVorbis(FilePtr file, const OpenRequest& request);
