#include "encode/CoverArt.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "encode/Utf8ToLocal.h"
#include "input/AsciiCase.h"
#include "input/PictureBlock.h"
#include "settings/ErrorReport.h"

namespace {

namespace fs = std::filesystem;

// Tried in this order.
constexpr const char* kFolderCoverNames[] = {"cover.jpg", "cover.png", "folder.jpg", "front.jpg"};

constexpr std::size_t kHeaderBytes = 10;
constexpr std::size_t kFrameHeaderBytes = 10;
constexpr uint8_t kLatin1Text = 0;
constexpr uint8_t kUtf16Text = 1;
// Syncsafe sizes hold 28 bits.
constexpr uint32_t kLargestTagBody = (1u << 28) - 1;

uint32_t ReadSyncsafe(const uint8_t* bytes) {
    return uint32_t{bytes[0]} << 21 | uint32_t{bytes[1]} << 14 | uint32_t{bytes[2]} << 7 | bytes[3];
}

void PutSyncsafe(uint8_t* out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (7 * (3 - i)) & 0x7F);
}

void StoreBigEndian32(uint8_t* out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * (3 - i)));
}

const char* MimeTypeOf(const std::vector<uint8_t>& data) {
    return !data.empty() && data[0] == 0xFF ? "image/jpeg" : "image/png";
}

// Appends the APIC frame: its header, then text encoding, MIME type, picture
// type, description and data. The picture is copied once, straight into the tag.
void AppendApicFrame(std::vector<uint8_t>& tag, const SourcePicture& picture) {
    const std::size_t frameStart = tag.size();
    tag.insert(tag.end(), {'A', 'P', 'I', 'C', 0, 0, 0, 0, 0, 0});
    const bool latin1 = FitsLatin1(picture.Description);
    tag.push_back(latin1 ? kLatin1Text : kUtf16Text);
    const std::string mime = MimeTypeOf(picture.Data);
    tag.insert(tag.end(), mime.begin(), mime.end());
    tag.push_back(0);
    tag.push_back(static_cast<uint8_t>(picture.Type));
    if (latin1) {
        const std::string text = Utf8ToLocal(picture.Description);
        tag.insert(tag.end(), text.begin(), text.end());
        tag.push_back(0);
    } else {
        // Byte-order mark first, then the units in little-endian order, ending in a 0 unit.
        tag.push_back(0xFF);
        tag.push_back(0xFE);
        const std::vector<unsigned short> units = Utf8ToUtf16ForTag(picture.Description);
        for (std::size_t i = 1; i < units.size(); ++i) {
            tag.push_back(static_cast<uint8_t>(units[i]));
            tag.push_back(static_cast<uint8_t>(units[i] >> 8));
        }
    }
    tag.insert(tag.end(), picture.Data.begin(), picture.Data.end());
    StoreBigEndian32(&tag[frameStart + 4], static_cast<uint32_t>(tag.size() - frameStart - kFrameHeaderBytes));
}

// Where the frames end and the padding (zero bytes) begins, or nothing when
// a frame runs past the tag.
std::optional<std::size_t> EndOfFrames(const std::vector<uint8_t>& tag, std::size_t tagEnd) {
    std::size_t at = kHeaderBytes;
    while (at + kFrameHeaderBytes <= tagEnd && tag[at] != 0) {
        const uint64_t size = uint64_t{tag[at + 4]} << 24 | uint64_t{tag[at + 5]} << 16 |
                              uint64_t{tag[at + 6]} << 8 | tag[at + 7];
        if (size > tagEnd - at - kFrameHeaderBytes) return std::nullopt;
        at += kFrameHeaderBytes + size;
    }
    return at;
}

}  // namespace

std::optional<SourcePicture> TakeCover(std::vector<SourcePicture>& pictures) {
    if (pictures.empty()) return std::nullopt;
    auto chosen = std::find_if(pictures.begin(), pictures.end(),
                               [](const SourcePicture& picture) { return picture.Type == kFrontCoverPicture; });
    if (chosen == pictures.end()) chosen = pictures.begin();
    return std::move(*chosen);
}

std::optional<SourcePicture> FindFolderCover(const std::string& directory, const ErrorReporter& errors) {
    ErrnoKeeper keepErrno;
    std::error_code error;
    std::vector<fs::path> candidates(std::size(kFolderCoverNames));
    for (fs::directory_iterator it(directory.empty() ? "." : directory, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        for (std::size_t i = 0; i < std::size(kFolderCoverNames); ++i) {
            if (EqualsIgnoringAsciiCase(name, kFolderCoverNames[i]) && candidates[i].empty()) candidates[i] = it->path();
        }
    }
    for (const fs::path& path : candidates) {
        if (path.empty() || !fs::is_regular_file(path, error)) continue;
        const uintmax_t size = fs::file_size(path, error);
        if (error) continue;
        if (size > kMaxPictureBytes) {
            ReportError(errors, "Warning: the picture '%s' is larger than 16 MiB and was not copied\n", path.c_str());
            continue;
        }
        SourcePicture picture{kFrontCoverPicture, {}, {}, std::vector<uint8_t>(size)};
        std::ifstream in(path, std::ios::binary);
        if (!in.read(reinterpret_cast<char*>(picture.Data.data()), static_cast<std::streamsize>(size))) continue;
        if (!IsJpegOrPng(picture.Data)) continue;
        picture.MimeType = MimeTypeOf(picture.Data);
        return picture;
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> WithApicFrame(const std::vector<uint8_t>& tag, const SourcePicture& picture) {
    std::vector<uint8_t> result;
    std::size_t framesEnd = 0, tagEnd = 0;
    if (tag.empty()) {
        result = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0};
    } else {
        // The library writes version 2.3 without unsynchronisation or an extended header.
        if (tag.size() < kHeaderBytes || tag[0] != 'I' || tag[1] != 'D' || tag[2] != '3' || tag[3] != 3 || tag[5] != 0) {
            return std::nullopt;
        }
        tagEnd = kHeaderBytes + ReadSyncsafe(&tag[6]);
        if (tagEnd > tag.size()) return std::nullopt;
        const std::optional<std::size_t> end = EndOfFrames(tag, tagEnd);
        if (!end) return std::nullopt;
        framesEnd = *end;
        result.assign(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(framesEnd));
    }
    AppendApicFrame(result, picture);
    if (!tag.empty()) {
        result.insert(result.end(), tag.begin() + static_cast<std::ptrdiff_t>(framesEnd),
                      tag.begin() + static_cast<std::ptrdiff_t>(tagEnd));
    }
    if (result.size() - kHeaderBytes > kLargestTagBody) return std::nullopt;
    PutSyncsafe(&result[6], static_cast<uint32_t>(result.size() - kHeaderBytes));
    // Whatever followed the tag's declared end stays after it.
    if (!tag.empty()) result.insert(result.end(), tag.begin() + static_cast<std::ptrdiff_t>(tagEnd), tag.end());
    return result;
}
