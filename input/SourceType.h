#pragma once
// The input type a path's extension names, and what else the format table
// tells of the formats: which job converts them and their MIME types.

#include <cstdint>
#include <string>

// ASCII case-insensitive extension. These are the types the code tells
// apart by name; a format whose reader needs none of its own is given one
// from its row of the table. 1 and 7 are never given.
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

// What a format's files become: MP3 files, or 16-bit WAV files.
enum class InputJob { Encode, Decode };

SourceType ClassifyPath(const std::string& path);
bool IsEncodeSource(SourceType type);
bool IsDecodeSource(SourceType type);

// The extensions of the formats one job converts, in table order, one space
// apart: ".wav .aif ...".
std::string ExtensionsConvertedBy(InputJob job);
// The MIME types of every format, each once and followed by ';'.
std::string InputMimeTypes();
