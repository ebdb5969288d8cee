#pragma once
// MPEG audio input (".mpg"/".mp1" Layer I, ".mp2" Layer II, ".mp3" Layer
// III). Our code decides where the stream starts and which layer the file's
// type allows; libmpg123 decodes the frames from that header on, one frame
// per read.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "input/AudioSource.h"

inline constexpr const char* kNoMpegFrameMessage = "Can't find an MPEG audio frame in '%s'\n";

// 1, 2 or 3 for the MPEG types; 0 for any other.
int32_t MpegLayerOf(SourceType type);

// The first frame header the start-up takes: the sync bits, a version, the
// layer the file's type names, a usable bitrate and rate index, a Layer II
// bitrate the channel mode allows, and an emphasis that is not reserved.
bool IsAcceptableFrameHeader(const uint8_t header[4], int32_t layer);

// A row chosen by type: the file stands at its start. On success fills
// source.Info from the first frame and the Xing/Info/LAME frame; on failure
// has reported why and released everything.
OpenedReader OpenMpeg(std::FILE* file, AudioSource& source, const uint8_t* probeBytes, std::size_t probeCount);

void ReleaseMpegState(void* state);
