#pragma once
// Writers of WAV and AIFF pieces, files made by the reference encoders, and
// reading them back through the input layer.

#include <bit>
#include <cmath>
#include <numeric>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/AudioSource.h"
#include "support/Fixtures.h"

namespace input_test {

using fixtures::Bytes;

// Each value in `width` bytes, least significant first unless `bigEndian`.
inline Bytes Packed(const std::vector<int64_t>& values, int width, bool bigEndian = false) {
    Bytes out;
    for (int64_t value : values) {
        for (int i = 0; i < width; ++i) out.push_back(uint8_t(value >> 8 * (bigEndian ? width - 1 - i : i)));
    }
    return out;
}

inline Bytes Floats(std::initializer_list<float> values) {
    std::vector<int64_t> bits;
    for (float value : values) bits.push_back(std::bit_cast<uint32_t>(value));
    return Packed(bits, 4);
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes Spliced(Bytes file, std::ptrdiff_t at, const Bytes& piece) {
    file.insert(file.begin() + at, piece.begin(), piece.end());
    return file;
}

// An ID3v2.3 tag around `frames`.
inline Bytes Id3v2Tag(const Bytes& frames) {
    const auto size = static_cast<uint32_t>(frames.size());
    return Cat({Bytes{'I', 'D', '3', 3, 0, 0, uint8_t(size >> 21 & 127), uint8_t(size >> 14 & 127),
                      uint8_t(size >> 7 & 127), uint8_t(size & 127)}, frames});
}

// A RIFF (little-endian length) or IFF chunk, with its pad byte when odd.
inline Bytes Chunk(const char (&id)[5], const Bytes& body, bool bigEndian = false) {
    return Cat({Bytes(id, id + 4), Packed({std::ssize(body)}, 4, bigEndian), body, Bytes(body.size() & 1, 0)});
}

inline Bytes Form(const char* kind, std::initializer_list<Bytes> chunks) {
    return Cat({Bytes{'F', 'O', 'R', 'M', 0, 0, 0, 0}, Bytes(kind, kind + 4), Cat(chunks)});
}

inline Bytes Common(int channels, int64_t frames, int bits, const char* compression = nullptr) {
    Bytes body = Cat({Packed({channels}, 2, true), Packed({frames}, 4, true), Packed({bits}, 2, true),
                      fixtures::AiffRate80(44100)});
    if (compression) body = Cat({body, Bytes(compression, compression + 4), {0, 0}});
    return Chunk("COMM", body, true);
}

// The offset bytes hold 0x7F, which would read as samples if not skipped.
inline Bytes Sound(const Bytes& samples, uint32_t offset = 0, uint32_t blockSize = 0) {
    return Chunk("SSND", Cat({Packed({offset, blockSize}, 4, true), Bytes(offset, 0x7F), samples}), true);
}

// The shell commands of the reference encoders: $1 is the WAV file, $2 the output.
inline constexpr const char* kFlacTool = "flac --silent --force --blocksize=4096 -o \"$2\" \"$1\"";
inline constexpr const char* kOggTool = "oggenc --quiet -o \"$2\" \"$1\"";
inline constexpr const char* kOpusTool = "opusenc --quiet --max-delay 10 \"$1\" \"$2\"";

inline Bytes SineWav(int channels, int64_t frames, int rate = 44100) {
    return fixtures::MakeWav({.channels = uint16_t(channels), .rate = uint32_t(rate)},
                             fixtures::Pcm16LE(fixtures::Sine16(channels, rate, frames)));
}

// `wav` made into another format by `command`, one of the tools above with any options.
inline Bytes Coded(const fixtures::TempDir& dir, const Bytes& wav, const std::string& command) {
    fixtures::WriteFile(dir / "coded.wav", wav);
    const std::string script = "set -- " + fixtures::ShellQuote((dir / "coded.wav").string()) + " " +
                               fixtures::ShellQuote((dir / "coded").string()) + "; " + command;
    EXPECT_EQ(std::system(script.c_str()), 0) << command;
    return fixtures::ReadFile(dir / "coded");
}

inline bool OpenPath(const std::string& path, AudioSource& source, const OpenRequest& request = {}) {
    source.Errors.Sink = fixtures::CaptureSink();
    return OpenAudioSource(path, request, source);
}

// `name`, with the first extension of `type` when its own names another type.
inline std::string NameOfType(const std::string& name, SourceType type) {
    if (ClassifyPath(name) == type) return name;
    for (const char* extension : {".wav", ".aif", ".flac", ".ogg", ".opus", ".mp1", ".mp2", ".mp3", ".m4a", ".aac"}) {
        if (ClassifyPath(extension) == type) return name + extension;
    }
    return name + ".unknown";
}

inline bool OpenBytes(const fixtures::TempDir& dir, const Bytes& bytes, AudioSource& source,
                      SourceType type = kSourceWav, const std::string& name = "input.wav",
                      const OpenRequest& request = {}) {
    const std::string file = NameOfType(name, type);
    fixtures::WriteFile(dir / file, bytes);
    return OpenPath((dir / file).string(), source, request);
}

inline double LevelDb(const std::vector<int16_t>& samples) {
    return 10 * std::log10(std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0) / samples.size());
}

// Interleaved samples to the end, in at most `maxBlocks` blocks: an endless reader fails instead of hanging.
inline std::vector<int16_t> ReadAll(AudioSource& source, int maxBlocks = 1000) {
    std::vector<int16_t> samples;
    int16_t block[2][kBlockFrames];
    for (int32_t i = 0, frames; i < maxBlocks && (frames = ReadSourceBlock16(block, source)) > 0; ++i) {
        for (int32_t f = 0; f < frames; ++f) {
            for (int c = 0; c < source.Channels; ++c) samples.push_back(block[c][f]);
        }
    }
    return samples;
}

}  // namespace input_test
