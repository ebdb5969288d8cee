#include "input/SourceType.h"

#include <cstring>

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

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsFolded(const std::string& text, std::size_t from, const char* lowerCase) {
    std::size_t length = std::strlen(lowerCase);
    if (text.size() - from != length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (FoldAscii(text[from + i]) != lowerCase[i]) return false;
    }
    return true;
}

}  // namespace

SourceType ClassifyPath(const std::string& path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return kSourceUnknown;
    for (const ExtensionRow& row : kExtensions) {
        if (EqualsFolded(path, dot, row.extension)) return row.type;
    }
    return kSourceUnknown;
}

bool IsEncodeSource(SourceType type) {
    return type == kSourceWav || type == kSourceAiff || type == kSourceOgg || type == kSourceFlac;
}

bool IsDecodeSource(SourceType type) {
    return type == kSourceMpegLayer1 || type == kSourceMpegLayer2 || type == kSourceMpegLayer3;
}
