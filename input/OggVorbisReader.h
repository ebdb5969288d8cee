#pragma once
// Ogg Vorbis input through libvorbisfile, chosen by the file's type. The
// reader rounds to 16-bit values itself and applies the ReplayGain factor.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "input/AudioSource.h"

// The file stands at its start. Fills source.Info from the first link and
// keeps pointers to source.ScaleMode and source.ScaleFactor, which the job
// sets after the open. Reports and returns no state when libvorbisfile
// cannot open the stream.
OpenedReader OpenOggVorbis(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount);

void CloseOggVorbis(void* state);
