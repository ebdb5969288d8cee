#include "decode/WavWriter.h"

#include <bit>
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
    // Interleaved as whole values, so the loops stay simple enough for the
    // compiler to vectorise; WAV wants them little-endian.
    int16_t interleaved[kBlockFrames * 2];
    const int32_t frames = to - from;
    if (channels == 2) {
        for (int32_t i = 0; i < frames; ++i) {
            interleaved[2 * i] = block[0][from + i];
            interleaved[2 * i + 1] = block[1][from + i];
        }
    } else {
        std::memcpy(interleaved, block[0] + from, sizeof(int16_t) * static_cast<std::size_t>(frames));
    }
    const std::size_t count = static_cast<std::size_t>(frames * channels);
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t i = 0; i < count; ++i) {
            const auto value = static_cast<uint16_t>(interleaved[i]);
            interleaved[i] = static_cast<int16_t>(static_cast<uint16_t>(value >> 8 | value << 8));
        }
    }
    return std::fwrite(interleaved, sizeof(int16_t), count, output) == count;
}
