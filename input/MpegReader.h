#pragma once
// MPEG audio input (".mpg"/".mp1" Layer I, ".mp2" Layer II, ".mp3"/".mpga"
// Layer III). Our code decides where the stream starts and which layer the
// file's type allows; libmpg123 decodes the frames from that header on, one
// frame per read.

#include <cstdint>

#include "input/AudioReader.h"
#include "input/InputFile.h"

inline constexpr const char* kNoMpegFrameMessage = "Can't find an MPEG audio frame in '%s'\n";

// The first frame header the start-up takes: the sync bits, a version, the
// layer the file's type names, a usable bitrate and rate index, a Layer II
// bitrate the channel mode allows, and an emphasis that is not reserved.
bool IsAcceptableFrameHeader(const uint8_t header[4], MpegLayer layer);

// A row chosen by type: the file stands at its start, and request.Layer
// names the layer it must hold. The stream record comes from the first
// frame and the Xing/Info/LAME frame.
OpenedReader OpenMpeg(FilePtr file, const OpenRequest& request);
