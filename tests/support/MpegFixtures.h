#pragma once
// MPEG files for the decoding tests, made at run time: Layer III by the lame
// tool, Layer II by ffmpeg, Layer I written bit by bit here. And the WAV
// files decoded from them, ours and mpg123's, read back without our reader.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/Fixtures.h"

namespace mpeg_fixtures {

namespace fs = std::filesystem;
using fixtures::Bytes;

inline std::string Quoted(const fs::path& path) { return fixtures::ShellQuote(path.string()); }

// Runs a shell command quietly; true when it succeeded.
inline bool RunQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// A 16-bit WAV of a quiet sine with a full-scale click at frame `clickAt`.
inline void WriteClickWav(const fs::path& path, int channels, int rate, int64_t frames, int64_t clickAt) {
    std::vector<int16_t> samples = fixtures::Sine16(channels, rate, frames, 330.0, 0.1);
    for (int c = 0; c < channels; ++c) samples[static_cast<std::size_t>(clickAt * channels + c)] = 30000;
    fixtures::WriteWav16(path, channels, rate, samples);
}

// lame's own options; its LAME tag (delay, padding, frame count) is written
// unless they hold -t.
inline fs::path Lame(const fs::path& wav, const fs::path& mp3, const std::string& options) {
    EXPECT_TRUE(RunQuietly("lame --quiet " + options + " " + Quoted(wav) + " " + Quoted(mp3))) << options;
    return mp3;
}

inline fs::path FfmpegMp2(const fs::path& wav, const fs::path& mp2, int kbps) {
    EXPECT_TRUE(RunQuietly("ffmpeg -nostdin -loglevel error -y -i " + Quoted(wav) + " -c:a mp2 -b:a " +
                           std::to_string(kbps) + "k -f mp2 " + Quoted(mp2)));
    return mp2;
}

// MPEG-1 Layer I, 48 kHz mono at 32 kbit/s: frames of exactly 32 bytes and
// 384 samples. One subband carries 4-bit samples whose values and scale
// change from frame to frame.
inline constexpr std::size_t kLayer1FrameBytes = 32;
inline constexpr int64_t kLayer1FrameSamples = 384;

inline Bytes Layer1Frames(int count) {
    Bytes stream;
    for (int frame = 0; frame < count; ++frame) {
        Bytes bytes(kLayer1FrameBytes, 0);
        int used = 0;
        auto put = [&](uint32_t value, int bits) {
            for (int i = bits - 1; i >= 0; --i, ++used) {
                bytes[used / 8] |= static_cast<uint8_t>(((value >> i) & 1) << (7 - used % 8));
            }
        };
        put(0xFFFF14C0, 32);
        put(3, 4);  // subband 0: 4 bits a sample
        for (int subband = 1; subband < 32; ++subband) put(0, 4);
        put(static_cast<uint32_t>(8 + frame % 5), 6);  // its scale factor
        for (int sample = 0; sample < 12; ++sample) put(static_cast<uint32_t>((sample * 5 + frame * 3) % 15), 4);
        stream.insert(stream.end(), bytes.begin(), bytes.end());
    }
    return stream;
}

// Bytes below 0x80, so never a frame's sync byte.
inline Bytes Noise(std::size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes noise(size);
    for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random() & 0x7F);
    return noise;
}

// Ours and mpg123's both have the plain 44-byte header: its bytes, and the
// interleaved samples after it.
struct Wav16 {
    Bytes Header;
    std::vector<int16_t> Samples;
    Bytes Format() const { return Bytes(Header.begin() + 20, Header.begin() + 36); }  // layout and rate
    int Channels() const { return std::max(1, Header[22] | Header[23] << 8); }
    int64_t Frames() const { return std::ssize(Samples) / Channels(); }
    bool SizeIsRight() const {  // the data chunk's size field
        return (Header[40] | Header[41] << 8 | Header[42] << 16 | uint32_t{Header[43]} << 24) == 2 * Samples.size();
    }
};

inline Wav16 ReadWav16(const fs::path& path) {
    const Bytes file = fixtures::ReadFile(path);
    Wav16 wav{Bytes(file.begin(), file.begin() + std::min<std::size_t>(file.size(), 44)), {}};
    wav.Header.resize(44);
    for (std::size_t i = 44; i + 1 < file.size(); i += 2) wav.Samples.push_back(int16_t(file[i] | file[i + 1] << 8));
    return wav;
}

}  // namespace mpeg_fixtures
