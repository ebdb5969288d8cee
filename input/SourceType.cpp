#include "input/SourceType.h"

#include <string_view>

#include "input/AsciiCase.h"

namespace {

struct ExtensionRow {
    const char* extension;
    SourceType type;
};

// Compared in this order; the first whole match decides.
const ExtensionRow kExtensions[] = {
    {".mpg", kSourceMpegLayer1}, {".mp1", kSourceMpegLayer1}, {".mp2", kSourceMpegLayer2},
    {".mp3", kSourceMpegLayer3}, {".wav", kSourceWav},        {".aif", kSourceAiff},
    {".ogg", kSourceOgg},        {".flac", kSourceFlac},
};

}  // namespace

SourceType ClassifyPath(const std::string& path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return kSourceUnknown;
    for (const ExtensionRow& row : kExtensions) {
        if (EqualsIgnoringAsciiCase(std::string_view(path).substr(dot), row.extension)) return row.type;
    }
    return kSourceUnknown;
}

bool IsEncodeSource(SourceType type) {
    return type == kSourceWav || type == kSourceAiff || type == kSourceOgg || type == kSourceFlac;
}

bool IsDecodeSource(SourceType type) {
    return type == kSourceMpegLayer1 || type == kSourceMpegLayer2 || type == kSourceMpegLayer3;
}
