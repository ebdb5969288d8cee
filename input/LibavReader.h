#pragma once
// The containers and codecs no dedicated reader covers, through libavformat,
// libavcodec and libswresample: MP4/M4A (AAC, ALAC), ADTS, ASF/WMA, WavPack,
// Monkey's Audio, Musepack, TTA, AC-3/E-AC-3, DTS, CAF, Matroska/WebM and
// QuickTime, the best audio stream of a video file included.

#include "input/AudioReader.h"
#include "input/InputFile.h"

// The demuxers and decoders a file may reach, as libavformat's and
// libavcodec's allow-lists take them. No demuxer that reads a playlist or
// follows a reference to another file is among them.
extern const char* const kLibavDemuxers;
extern const char* const kLibavDecoders;

// The file stands at its start. A file of a demuxer outside the allow-list
// is not audio to this reader.
OpenedReader OpenLibav(FilePtr file, const OpenRequest& request);
