#pragma once
// The input type a path's extension names. The extension alone picks the
// reader for MPEG and Ogg Vorbis files; the other types are read by content.

#include <cstdint>
#include <string>

// ASCII case-insensitive extension. 1 and 7 are never given.
enum SourceType : int32_t {
    kSourceUnknown = 0,
    kSourceWav = 2,
    kSourceAiff = 3,
    kSourceMpegLayer1 = 4,  // ".mpg", ".mp1"
    kSourceMpegLayer2 = 5,  // ".mp2"
    kSourceMpegLayer3 = 6,  // ".mp3"
    kSourceOgg = 8,
    kSourceFlac = 9,
};

SourceType ClassifyPath(const std::string& path);
bool IsEncodeSource(SourceType type);  // WAV, AIFF, Ogg Vorbis, FLAC
bool IsDecodeSource(SourceType type);  // MPEG layers I to III
