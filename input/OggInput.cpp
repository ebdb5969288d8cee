#include "input/OggInput.h"

#include <cerrno>
#include <cstring>
#include <sys/types.h>

#include "input/FileSkip.h"
#include "input/StreamInfo.h"

int64_t OggInput::CountThenRewind(int64_t (*count)(std::FILE* file)) {
    std::FILE* file = file_.get();
    if (!CanSeek(file)) return kSampleCountNotGiven;
    const int64_t total = count(file);
    if (fseeko(file, 0, SEEK_SET) != 0) return kSampleCountNotGiven;
    return total;
}

std::size_t OggInput::ReadInOrder(void* into, std::size_t bytes) {
    const std::size_t got = std::fread(into, 1, bytes, file_.get());
    if (got > 0) {
        pages_.Follow(into, got);
    } else if (std::ferror(file_.get()) && systemError_ == 0) {
        systemError_ = errno != 0 ? errno : EIO;
    }
    return got;
}

int OggInput::SeekFile(void* file, int64_t offset, int whence) {
    return fseeko(static_cast<std::FILE*>(file), static_cast<off_t>(offset), whence);
}

int64_t OggInput::TellFile(void* file) { return ftello(static_cast<std::FILE*>(file)); }

bool OggFirstPacketStartsWith(std::span<const uint8_t> head, std::string_view magic) {
    // A page header is 27 bytes and its segment table as long as byte 26 says.
    constexpr std::size_t kPageHeaderBytes = 27;
    constexpr std::size_t kSegmentCountAt = 26;
    if (head.size() < kPageHeaderBytes || std::memcmp(head.data(), "OggS", 4) != 0) return false;
    const std::size_t packetAt = kPageHeaderBytes + head[kSegmentCountAt];
    return head.size() >= packetAt + magic.size() && std::memcmp(head.data() + packetAt, magic.data(), magic.size()) == 0;
}
