#include "app/FileQueue.h"

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

std::string FileQueue::CurrentOutput() const {
    return *currentOutput_.load();
}

void FileQueue::SetCurrentOutput(const std::string& path) {
    currentOutput_.store(std::make_shared<const std::string>(path));
}

void PushPath(FileQueue& queue, const std::string& path, QueueMode mode) {
    if (path.empty()) return;
    std::lock_guard<std::mutex> hold(queue.Lock);
    queue.Paths.push_back(path);
    ++queue.Remaining;
    ++queue.Total;
    queue.EncodePending = mode == QueueMode::Encode ? 1 : 0;
    queue.DecodePending = mode == QueueMode::Decode ? 1 : 0;
}

std::optional<std::string> PopPath(FileQueue& queue) {
    std::lock_guard<std::mutex> hold(queue.Lock);
    if (queue.Paths.empty()) return std::nullopt;
    std::string path = std::move(queue.Paths.front());
    queue.Paths.pop_front();
    return path;
}

void FinishPath(FileQueue& queue) {
    std::lock_guard<std::mutex> hold(queue.Lock);
    if (queue.Remaining > 0) --queue.Remaining;
}

void ReportProgress(FileQueue& queue, int64_t total, int64_t done) {
    queue.FileFraction = total <= 0 ? 0.0 : static_cast<double>(done) / static_cast<double>(total);
}
