#include "encode/Utf8ToLocal.h"

#include <cstdint>

namespace {

constexpr char32_t kMalformed = 0xFFFFFFFF;
constexpr char32_t kEndOfText = 0xFFFFFFFE;
constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kLatin1Last = 0xFF;
constexpr unsigned short kByteOrderMark = 0xFEFF;

// Decodes the character at `pos` and advances past it. Overlong forms,
// surrogates and values above U+10FFFF are malformed: they are how invalid
// or hostile names would otherwise smuggle in other characters.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(text[i]); };
    uint8_t lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2; value = lead & 0x1F; smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3; value = lead & 0x0F; smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4; value = lead & 0x07; smallest = 0x10000;
    } else {
        ++pos;
        return kMalformed;
    }
    if (pos + length > text.size()) {
        // Only continuation bytes up to the end: the sequence was cut short.
        bool allContinuations = true;
        for (std::size_t i = pos + 1; i < text.size(); ++i) allContinuations &= (byte(i) & 0xC0) == 0x80;
        if (allContinuations) {
            pos = text.size();
            return kEndOfText;
        }
    }
    std::size_t i = pos + 1;
    for (; i < pos + length && i < text.size(); ++i) {
        if ((byte(i) & 0xC0) != 0x80) break;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (i != pos + static_cast<std::size_t>(length)) {
        pos = i;  // resume at the byte that broke the sequence
        return kMalformed;
    }
    pos = i;
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kMalformed;
    return value;
}

}  // namespace

std::string Utf8ToLocal(std::string_view utf8) {
    std::string local;
    local.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = NextCodePoint(utf8, pos);
        if (c == kEndOfText) break;
        local.push_back(c <= kLatin1Last ? static_cast<char>(c) : '?');
    }
    return local;
}

bool FitsLatin1(std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = NextCodePoint(utf8, pos);
        if (c == kEndOfText) break;
        if (c > kLatin1Last) return false;
    }
    return true;
}

std::vector<unsigned short> Utf8ToUtf16ForTag(std::string_view utf8) {
    std::vector<unsigned short> units;
    units.reserve(utf8.size() + 2);
    units.push_back(kByteOrderMark);
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = NextCodePoint(utf8, pos);
        if (c == kEndOfText) break;
        if (c == kMalformed) c = kReplacementCharacter;
        if (c >= 0x10000) {
            c -= 0x10000;
            units.push_back(static_cast<unsigned short>(0xD800 + (c >> 10)));
            units.push_back(static_cast<unsigned short>(0xDC00 + (c & 0x3FF)));
        } else {
            units.push_back(static_cast<unsigned short>(c));
        }
    }
    units.push_back(0);
    return units;
}

std::string NameToUtf8(std::string_view name) {
    bool valid = true;
    for (std::size_t pos = 0; valid && pos < name.size();) {
        const char32_t c = NextCodePoint(name, pos);
        valid = c != kMalformed && c != kEndOfText;
    }
    if (valid) return std::string(name);
    std::string utf8;
    utf8.reserve(name.size() * 2);
    for (const char byte : name) {
        const auto c = static_cast<uint8_t>(byte);
        if (c < 0x80) {
            utf8.push_back(byte);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | c >> 6));
            utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return utf8;
}
