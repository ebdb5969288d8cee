#pragma once
// Fixed-width integers and floats read from byte arrays in a stated byte
// order. Assembling from bytes keeps the readers independent of the host's
// own byte order and of the alignment of the source bytes.

#include <bit>
#include <cstdint>

inline uint16_t LoadLE16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline uint32_t LoadLE32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

inline uint16_t LoadBE16(const uint8_t* bytes) {
    return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

inline uint32_t LoadBE32(const uint8_t* bytes) {
    return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
           (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]);
}

// An ID3v2 size: four bytes of seven bits each, the top bit ignored.
inline uint32_t LoadSyncsafe28(const uint8_t* bytes) {
    return (static_cast<uint32_t>(bytes[0] & 0x7F) << 21) | (static_cast<uint32_t>(bytes[1] & 0x7F) << 14) |
           (static_cast<uint32_t>(bytes[2] & 0x7F) << 7) | static_cast<uint32_t>(bytes[3] & 0x7F);
}

inline uint64_t LoadBE64(const uint8_t* bytes) {
    return (static_cast<uint64_t>(LoadBE32(bytes)) << 32) | LoadBE32(bytes + 4);
}

inline int16_t LoadSignedLE16(const uint8_t* bytes) { return static_cast<int16_t>(LoadLE16(bytes)); }
inline int16_t LoadSignedBE16(const uint8_t* bytes) { return static_cast<int16_t>(LoadBE16(bytes)); }

// Placing the three bytes in the top of a 32-bit word and shifting back
// extends the sign without a branch (arithmetic shift is defined in C++20).
inline int32_t LoadSignedLE24(const uint8_t* bytes) {
    uint32_t high = (static_cast<uint32_t>(bytes[0]) << 8) | (static_cast<uint32_t>(bytes[1]) << 16) |
                    (static_cast<uint32_t>(bytes[2]) << 24);
    return static_cast<int32_t>(high) >> 8;
}

inline int32_t LoadSignedLE32(const uint8_t* bytes) { return static_cast<int32_t>(LoadLE32(bytes)); }

inline float LoadFloatLE32(const uint8_t* bytes) { return std::bit_cast<float>(LoadLE32(bytes)); }
