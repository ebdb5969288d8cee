#include "queue/FileQueue.h"

std::string FileQueue::CurrentOutput() const {
    return *currentOutput_.load();
}

void FileQueue::SetCurrentOutput(const std::string& path) {
    currentOutput_.store(std::make_shared<const std::string>(path));
}

void PushPath(FileQueue& queue, const std::string& path, QueueMode mode, const std::string& outputSubfolder) {
    if (path.empty()) return;
    std::lock_guard<std::mutex> hold(queue.Lock);
    queue.Paths.push_back({path, outputSubfolder});
    ++queue.Remaining;
    ++queue.Total;
    queue.EncodePending = mode == QueueMode::Encode ? 1 : 0;
    queue.DecodePending = mode == QueueMode::Decode ? 1 : 0;
}

std::optional<QueuedPath> PopPath(FileQueue& queue) {
    std::lock_guard<std::mutex> hold(queue.Lock);
    if (queue.Paths.empty()) return std::nullopt;
    QueuedPath path = std::move(queue.Paths.front());
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
