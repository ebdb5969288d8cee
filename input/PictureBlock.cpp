#include "input/PictureBlock.h"

#include <array>
#include <cstring>
#include <string>

#include "input/AsciiCase.h"
#include "settings/ErrorReport.h"

namespace {

constexpr std::string_view kPictureBlockKey = "METADATA_BLOCK_PICTURE=";
constexpr std::string_view kCoverArtKey = "COVERART=";
constexpr uint8_t kJpegStart[] = {0xFF, 0xD8, 0xFF};
constexpr uint8_t kPngStart[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// Reads the block's big-endian fields in order; any read past the end fails
// the whole block, so a hostile length never reaches an allocation.
class BlockCursor {
public:
    explicit BlockCursor(std::string_view block) : block_(block) {}
    bool Number(uint32_t& value) {
        if (block_.size() - at_ < 4) return false;
        const auto* bytes = reinterpret_cast<const uint8_t*>(block_.data() + at_);
        value = uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
        at_ += 4;
        return true;
    }
    bool Text(std::string_view& text) {
        uint32_t length = 0;
        if (!Number(length) || block_.size() - at_ < length) return false;
        text = block_.substr(at_, length);
        at_ += length;
        return true;
    }

private:
    std::string_view block_;
    std::size_t at_ = 0;
};

bool StartsWithBytes(const std::vector<uint8_t>& data, const uint8_t* start, std::size_t count) {
    return data.size() >= count && std::memcmp(data.data(), start, count) == 0;
}

// 0..63 for a base64 character, -1 otherwise.
int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::optional<SourcePicture> ParsePictureBlock(std::string_view block) {
    BlockCursor cursor(block);
    SourcePicture picture;
    std::string_view mime, description, data;
    uint32_t width = 0, height = 0, depth = 0, colours = 0;
    if (!cursor.Number(picture.Type) || !cursor.Text(mime) || !cursor.Text(description) || !cursor.Number(width) ||
        !cursor.Number(height) || !cursor.Number(depth) || !cursor.Number(colours) || !cursor.Text(data)) {
        return std::nullopt;
    }
    picture.MimeType = mime;
    // An APIC frame ends its description at the first NUL, and a reader would
    // take whatever followed it for the start of the picture.
    picture.Description = description.substr(0, description.find('\0'));
    picture.Data.assign(data.begin(), data.end());
    return picture;
}

std::optional<std::string> DecodeBase64(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    uint32_t group = 0;
    int filled = 0, padding = 0;
    for (char c : text) {
        if (c == '\r' || c == '\n') continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int value = Base64Value(c);
        if (value < 0 || padding > 0) return std::nullopt;  // nothing may follow the padding
        group = group << 6 | static_cast<uint32_t>(value);
        if (++filled == 4) {
            bytes.push_back(static_cast<char>(group >> 16));
            bytes.push_back(static_cast<char>(group >> 8));
            bytes.push_back(static_cast<char>(group));
            group = 0;
            filled = 0;
        }
    }
    if (filled == 1 || padding > 2) return std::nullopt;
    if (filled == 2) bytes.push_back(static_cast<char>(group >> 4));
    if (filled == 3) {
        bytes.push_back(static_cast<char>(group >> 10));
        bytes.push_back(static_cast<char>(group >> 2));
    }
    return bytes;
}

bool IsJpegOrPng(const std::vector<uint8_t>& data) {
    return StartsWithBytes(data, kJpegStart, sizeof kJpegStart) || StartsWithBytes(data, kPngStart, sizeof kPngStart);
}

void OfferPicture(CommentList& list, SourcePicture picture, const ErrorReporter& errors) {
    if (picture.Data.size() > kMaxPictureBytes) {
        ReportMessage(errors, "Warning: a picture of " + std::to_string(picture.Data.size()) +
                                  " bytes is larger than 16 MiB and was not copied\n");
        return;
    }
    if (!IsJpegOrPng(picture.Data)) return;
    list.Pictures.push_back(std::move(picture));
}

bool TakePictureComment(CommentList& list, std::string_view comment, const ErrorReporter& errors) {
    const bool block = StartsWithIgnoringAsciiCase(comment, kPictureBlockKey);
    if (!block && !StartsWithIgnoringAsciiCase(comment, kCoverArtKey)) return false;
    const std::optional<std::string> bytes =
        DecodeBase64(comment.substr(block ? kPictureBlockKey.size() : kCoverArtKey.size()));
    std::optional<SourcePicture> picture;
    if (bytes && block) {
        picture = ParsePictureBlock(*bytes);
    } else if (bytes) {
        picture = SourcePicture{kFrontCoverPicture, {}, {}, std::vector<uint8_t>(bytes->begin(), bytes->end())};
    }
    if (!picture) {
        ReportMessage(errors, "Warning: a damaged picture was skipped\n");
        return true;
    }
    OfferPicture(list, std::move(*picture), errors);
    return true;
}

void HandOverOggComments(CommentList& list, char* const* texts, const int* lengths, int count,
                         const ErrorReporter& errors) {
    for (int i = 0; i < count; ++i) {
        const char* text = texts[i];
        // A picture comment holds the picture itself, never text for a tag.
        const std::size_t length = lengths ? static_cast<std::size_t>(lengths[i]) : 0;
        if (!text || !TakePictureComment(list, std::string_view(text, length), errors)) AppendComment(list, text);
    }
}
