#pragma once
// FLAC input through libFLAC's stream decoder: 4 to 32 bits per sample, with
// the Vorbis comments of the stream.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "input/AudioSource.h"

// "fLaC", or the start of an ID3v2 tag ("ID3" and a major version of 2 to
// 4) that the open must find "fLaC" behind.
inline constexpr std::size_t kFlacProbeLength = 4;

bool ProbeFlac(const uint8_t* bytes, std::size_t count);

// The file stands after the probed bytes, which the decoder is given first.
// A well-formed ID3v2 tag in front of "fLaC" is skipped; a tag with anything
// else behind it fails the open without a message of its own.
// Decodes the metadata and the first frame: source.Info takes the channel
// count of that frame (0 when no frame decodes, which the channel check
// refuses) and the rate and count of STREAMINFO.
OpenedReader OpenFlac(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount);

void CloseFlac(void* state);
