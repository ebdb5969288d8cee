#include "queue/DroppedPaths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "input/AsciiCase.h"
#include "job/OutputNaming.h"
#include "settings/ErrorReport.h"

namespace {

namespace fs = std::filesystem;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Compares the digit runs starting at i and j by value; advances both past them.
int CompareNumbers(const std::string& a, std::size_t& i, const std::string& b, std::size_t& j) {
    while (i < a.size() && a[i] == '0') ++i;
    while (j < b.size() && b[j] == '0') ++j;
    const std::size_t startA = i, startB = j;
    while (i < a.size() && IsDigit(a[i])) ++i;
    while (j < b.size() && IsDigit(b[j])) ++j;
    const std::size_t lengthA = i - startA, lengthB = j - startB;
    if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;
    return a.compare(startA, lengthA, b, startB, lengthB);
}

int NaturalCompare(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            if (int order = CompareNumbers(a, i, b, j); order != 0) return order;
            continue;
        }
        const char x = FoldAscii(a[i]), y = FoldAscii(b[j]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    // Names equal but for case or leading zeros still get one fixed order.
    return a.compare(b);
}

struct Walk {
    std::vector<DroppedFile> found;
    std::vector<UnreadableFolder>& unreadable;
};

void CollectFolder(const fs::path& folder, const std::string& subfolder, Walk& walk) {
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().filename().string().starts_with('.')) continue;
        entries.push_back(*it);
    }
    if (error) walk.unreadable.push_back({folder.string(), error.message()});
    std::sort(entries.begin(), entries.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
        return NaturalLess(a.path().filename().string(), b.path().filename().string());
    });
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory(error)) {
            // A link to a folder may lead back up the tree, or out of it.
            if (!entry.is_symlink(error)) CollectFolder(entry.path(), subfolder + "/" + name, walk);
            continue;
        }
        const SourceType type = ClassifyPath(name);
        if (type != kSourceUnknown && entry.is_regular_file(error)) {
            walk.found.push_back({entry.path().string(), subfolder, type});
        }
    }
}

}  // namespace

bool NaturalLess(const std::string& first, const std::string& second) { return NaturalCompare(first, second) < 0; }

std::vector<DroppedFile> AudioFilesInFolder(const std::string& folder, std::vector<UnreadableFolder>& unreadable) {
    ErrnoKeeper keepErrno;
    fs::path root = AbsolutePath(folder);
    if (!root.has_filename()) root = root.parent_path();  // "Albums/" and "Albums/." name the folder "Albums"
    Walk walk{{}, unreadable};
    CollectFolder(root, root.filename().string(), walk);
    for (DroppedFile& file : walk.found) {
        if (file.OutputSubfolder.starts_with('/')) file.OutputSubfolder.erase(0, 1);
    }
    return std::move(walk.found);
}

void DropRepeatedFiles(std::vector<QueuedFile>& files) {
    BatchClaims seen;
    std::erase_if(files, [&seen](const QueuedFile& file) { return !AddBatchInput(seen, KeyOfFile(file.Path)); });
}

DropOutcome CollectDroppedPath(const std::string& path, std::vector<QueuedFile>& queued,
                               std::vector<UnreadableFolder>& unreadable) {
    std::error_code error;
    std::vector<DroppedFile> files;
    if (fs::is_directory(path, error)) {
        const std::size_t unreadableBefore = unreadable.size();
        files = AudioFilesInFolder(path, unreadable);
        if (files.empty() && unreadable.size() == unreadableBefore) return DropOutcome::EmptyFolder;
    } else {
        if (path.find('.') == std::string::npos) return DropOutcome::Ignored;
        const SourceType type = ClassifyPath(path);
        if (!IsEncodeSource(type) && !IsDecodeSource(type)) return DropOutcome::Unsupported;
        // A FIFO or a device would hold its worker in a read no stop reaches;
        // a missing file is queued, and its job says why it cannot be opened.
        if (fs::exists(path, error) && !fs::is_regular_file(path, error)) return DropOutcome::Unsupported;
        files.push_back({path, std::string(), type});
    }
    for (const DroppedFile& file : files) {
        queued.push_back(
            {file.Path, file.OutputSubfolder, IsDecodeSource(file.Type) ? QueueMode::Decode : QueueMode::Encode});
    }
    return DropOutcome::Queued;
}
