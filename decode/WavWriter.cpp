#include "decode/WavWriter.h"

#include <cstring>

namespace {

void StoreLe16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void StoreLe32(uint8_t* at, uint32_t value) {
    StoreLe16(at, static_cast<uint16_t>(value));
    StoreLe16(at + 2, static_cast<uint16_t>(value >> 16));
}

}  // namespace

int WriteWavHeader(std::FILE* output, uint32_t dataSize, uint32_t sampleRate, uint16_t channels,
                   uint16_t bitsPerSample) {
    constexpr uint32_t kFormatBlockBytes = 16;
    constexpr uint16_t kFormatPcm = 1;
    const uint32_t bytesPerSample = (bitsPerSample + 7u) / 8u;
    uint8_t header[kWavHeaderBytes];
    std::memcpy(header, "RIFF", 4);
    StoreLe32(header + 4, dataSize + 36u);  // wraps modulo 2^32, as the field does
    std::memcpy(header + 8, "WAVEfmt ", 8);
    StoreLe32(header + 16, kFormatBlockBytes);
    StoreLe16(header + 20, kFormatPcm);
    StoreLe16(header + 22, channels);
    StoreLe32(header + 24, sampleRate);
    StoreLe32(header + 28, sampleRate * channels * bytesPerSample);
    StoreLe16(header + 32, static_cast<uint16_t>(bytesPerSample * channels));
    StoreLe16(header + 34, bitsPerSample);
    std::memcpy(header + 36, "data", 4);
    StoreLe32(header + 40, dataSize);
    std::fwrite(header, 1, sizeof header, output);
    return std::ferror(output) ? -1 : 0;
}

bool WriteWavFrames(std::FILE* output, const int16_t (*block)[kBlockFrames], int32_t channels, int32_t from,
                    int32_t to) {
    if (to <= from) return true;
    uint8_t bytes[kBlockFrames * 2 * sizeof(int16_t)];
    uint8_t* at = bytes;
    for (int32_t i = from; i < to; ++i) {
        for (int32_t c = 0; c < channels; ++c, at += 2) StoreLe16(at, static_cast<uint16_t>(block[c][i]));
    }
    const std::size_t count = static_cast<std::size_t>(at - bytes);
    return std::fwrite(bytes, 1, count, output) == count;
}
