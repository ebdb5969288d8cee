#include "input/Id3v2Skip.h"

#include <cstring>

#include "input/ByteOrder.h"
#include "input/FileSkip.h"

namespace {

constexpr uint8_t kId3v2Marker[3] = {'I', 'D', '3'};
constexpr uint8_t kOldestVersion = 2;
constexpr uint8_t kNewestVersion = 4;
constexpr std::size_t kHeaderBytes = 10;  // marker, version, revision, flags, size
constexpr std::size_t kRevisionAt = 4;
constexpr std::size_t kFlagsAt = 5;
constexpr std::size_t kSizeAt = 6;
constexpr std::size_t kFooterBytes = 10;
constexpr uint8_t kFooterFlag = 0x10;
constexpr uint8_t kNoRevision = 0xFF;

}  // namespace

bool FillHead(std::FILE* file, std::vector<uint8_t>& bytes, std::size_t count) {
    if (bytes.size() >= count) return true;
    const std::size_t had = bytes.size();
    bytes.resize(count);
    const std::size_t got = std::fread(bytes.data() + had, 1, count - had, file);
    bytes.resize(had + got);
    return bytes.size() == count;
}

bool StartsWithId3v2(std::span<const uint8_t> bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), kId3v2Marker, sizeof kId3v2Marker) == 0 &&
           bytes[3] >= kOldestVersion && bytes[3] <= kNewestVersion;
}

bool DropLeadingId3v2(std::FILE* file, std::vector<uint8_t>& head) {
    if (!FillHead(file, head, 4)) return false;
    if (!StartsWithId3v2(head)) return true;
    if (!FillHead(file, head, kHeaderBytes)) return false;
    const uint8_t* size = head.data() + kSizeAt;
    if (head[kRevisionAt] == kNoRevision || ((size[0] | size[1] | size[2] | size[3]) & 0x80) != 0) return true;
    const uint64_t tagBytes = kHeaderBytes + LoadSyncsafe28(size) + ((head[kFlagsAt] & kFooterFlag) ? kFooterBytes : 0);
    if (head.size() >= tagBytes) {
        head.erase(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(tagBytes));
        return true;
    }
    const uint64_t rest = tagBytes - head.size();
    head.clear();
    return SkipForwardBytes(file, rest);
}
