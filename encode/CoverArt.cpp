#include "encode/CoverArt.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "encode/Utf8ToLocal.h"
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

std::string FoldAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

uint32_t ReadSyncsafe(const uint8_t* bytes) {
    return uint32_t{bytes[0]} << 21 | uint32_t{bytes[1]} << 14 | uint32_t{bytes[2]} << 7 | bytes[3];
}

void PutSyncsafe(uint8_t* out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (7 * (3 - i)) & 0x7F);
}

void PutBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

const char* MimeTypeOf(const std::vector<uint8_t>& data) {
    return !data.empty() && data[0] == 0xFF ? "image/jpeg" : "image/png";
}

// The APIC frame body: text encoding, MIME type, picture type, description, data.
std::vector<uint8_t> ApicBody(const SourcePicture& picture) {
    std::vector<uint8_t> body;
    const bool latin1 = FitsLatin1(picture.Description);
    body.push_back(latin1 ? kLatin1Text : kUtf16Text);
    const std::string mime = MimeTypeOf(picture.Data);
    body.insert(body.end(), mime.begin(), mime.end());
    body.push_back(0);
    body.push_back(static_cast<uint8_t>(picture.Type));
    if (latin1) {
        const std::string text = Utf8ToLocal(picture.Description);
        body.insert(body.end(), text.begin(), text.end());
        body.push_back(0);
    } else {
        // Byte-order mark first, then the units in little-endian order, ending in a 0 unit.
        body.push_back(0xFF);
        body.push_back(0xFE);
        const std::vector<unsigned short> units = Utf8ToUtf16ForTag(picture.Description);
        for (std::size_t i = 1; i < units.size(); ++i) {
            body.push_back(static_cast<uint8_t>(units[i]));
            body.push_back(static_cast<uint8_t>(units[i] >> 8));
        }
    }
    body.insert(body.end(), picture.Data.begin(), picture.Data.end());
    return body;
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

const SourcePicture* ChooseCover(const std::vector<SourcePicture>& pictures) {
    for (const SourcePicture& picture : pictures) {
        if (picture.Type == kFrontCoverPicture) return &picture;
    }
    return pictures.empty() ? nullptr : &pictures.front();
}

std::optional<SourcePicture> FindFolderCover(const std::string& directory) {
    const int savedErrno = errno;
    std::error_code error;
    std::vector<fs::path> candidates(std::size(kFolderCoverNames));
    for (fs::directory_iterator it(directory.empty() ? "." : directory, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = FoldAscii(it->path().filename().string());
        for (std::size_t i = 0; i < std::size(kFolderCoverNames); ++i) {
            if (name == kFolderCoverNames[i] && candidates[i].empty()) candidates[i] = it->path();
        }
    }
    errno = savedErrno;
    for (const fs::path& path : candidates) {
        if (path.empty() || !fs::is_regular_file(path, error)) continue;
        const uintmax_t size = fs::file_size(path, error);
        if (error) continue;
        if (size > kMaxPictureBytes) {
            ReportError("Warning: the picture '%s' is larger than 16 MiB and was not copied\n", path.c_str());
            continue;
        }
        SourcePicture picture{kFrontCoverPicture, {}, {}, std::vector<uint8_t>(size)};
        std::ifstream in(path, std::ios::binary);
        if (!in.read(reinterpret_cast<char*>(picture.Data.data()), static_cast<std::streamsize>(size))) continue;
        if (!IsJpegOrPng(picture.Data)) continue;
        picture.MimeType = MimeTypeOf(picture.Data);
        errno = savedErrno;
        return picture;
    }
    errno = savedErrno;
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
    const std::vector<uint8_t> body = ApicBody(picture);
    result.insert(result.end(), {'A', 'P', 'I', 'C'});
    PutBigEndian32(result, static_cast<uint32_t>(body.size()));
    result.insert(result.end(), {0, 0});
    result.insert(result.end(), body.begin(), body.end());
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
