#pragma once
// FLAC input through libFLAC's stream decoder: 4 to 32 bits per sample, with
// the Vorbis comments and pictures of the stream.

#include <cstdint>
#include <span>

#include "input/AudioReader.h"
#include "input/InputFile.h"

// "fLaC", or the start of an ID3v2 tag that the open must find "fLaC" behind.
bool ProbeFlac(std::span<const uint8_t> head);

// The file stands at its start. A well-formed ID3v2 tag in front of "fLaC"
// is skipped; a tag with anything else behind it fails the open without a
// text of its own. Decodes the metadata and the first frame: the stream
// record takes the channel count of that frame (0 when no frame decodes,
// which the channel check refuses) and the rate and count of STREAMINFO.
OpenedReader OpenFlac(FilePtr file, const OpenRequest& request);
