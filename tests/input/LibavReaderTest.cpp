// The libavformat reader against ffmpeg's own decoding of the files ffmpeg's encoders made, and the surround
// downmix of every format against the coefficients. The allow-lists are checked through the tool (CliTest).

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "InputTestSupport.h"

namespace {

using namespace input_test;
using fixtures::ShellQuote;
namespace fs = std::filesystem;

// `ffmpeg` writing `name` in `dir` with `arguments` (inputs, codec, muxer).
fs::path Ffmpeg(const fixtures::TempDir& dir, const std::string& name, const std::string& arguments) {
    const std::string command = "cd " + ShellQuote(dir.path().string()) + " && ffmpeg -v error -y " + arguments + " " + name;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir / name;
}

// The interleaved 16-bit samples `ffmpeg -f s16le` decodes from `file`.
std::vector<int16_t> FfmpegSamples(const fixtures::TempDir& dir, const fs::path& file) {
    const fs::path pcm = Ffmpeg(dir, "decoded.pcm", "-i " + ShellQuote(file.string()) + " -f s16le");
    const Bytes bytes = fixtures::ReadFile(pcm);
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST(LibavReader, ReadsWhatFfmpegDecodesWithTagsAndCover) {
    fixtures::TempDir dir;
    Ffmpeg(dir, "cover.jpg", "-f lavfi -i testsrc=s=32x32:d=1 -frames:v 1");
    const std::string tone = "-f lavfi -i sine=f=440:d=1.3:r=44100 -ac 2 ";
    const std::string tags = " -metadata title=T -metadata artist=A -metadata album=B -metadata date=2001"
                             " -metadata track=3/12 -metadata genre=G ";
    const std::string cover = "-i cover.jpg -map 0:a -map 1 -c:v copy -disposition:v attached_pic ";
    const std::string video = "-f lavfi -i testsrc=s=64x48:d=1.3 -c:v mpeg4 ";
    // ffmpeg writes no WM/Picture; mutagen adds one, a front cover of no description.
    const std::string wmPicture =
        "/usr/bin/python3 -c \"import struct,mutagen.asf as a;f=a.ASF('x.wma');d=open('cover.jpg','rb').read();"
        "f['WM/Picture']=[a.ASFByteArrayAttribute(bytes([3])+struct.pack('<I',len(d))+'image/jpeg'.encode('utf-16-le')"
        "+bytes(4)+d)];f.save()\"";
    const struct { std::string name, arguments; bool tagged, covered; std::string then = ":"; } rows[] = {
        {"aac.m4a", tone + cover + "-c:a aac" + tags, true, true},
        {"adts.aac", tone + "-c:a aac", false, false},
        {"alac.m4a", tone + cover + "-c:a alac -sample_fmt s32p" + tags, true, true},
        {"x.wma", tone + "-c:a wmav2" + tags, true, true, wmPicture},
        {"x.wv", tone + "-c:a wavpack" + tags, true, false},
        {"x.tta", tone + "-c:a tta" + tags, true, false},  // ffmpeg writes no Monkey's Audio
        {"x.ac3", tone + "-c:a ac3", false, false},
        {"video.mkv", video + tone + "-c:a libvorbis -attach cover.jpg -metadata:s:t mimetype=image/jpeg" + tags, true,
         true},
        {"video.mp4", video + tone + "-c:a aac" + tags, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path file = Ffmpeg(dir, row.name, row.arguments);
        EXPECT_EQ(std::system(("cd " + ShellQuote(dir.path().string()) + " && " + row.then).c_str()), 0);
        const std::vector<int16_t> expected = FfmpegSamples(dir, file);
        AudioSource source;
        ASSERT_TRUE(OpenPath(file.string(), source, {.WantComments = true}));
        EXPECT_EQ(source.Info.SampleRate, 44100);
        const std::vector<int16_t> read = ReadAll(source);
        EXPECT_FALSE(source.Damaged());
        EXPECT_EQ(read, expected);
        const CommentList& comments = source.Reader->Comments();
        for (const char* comment : {"TITLE=T", "ARTIST=A", "ALBUM=B", "DATE=2001", "TRACKNUMBER=3", "GENRE=G"}) {
            EXPECT_EQ(std::count(comments.Entries.begin(), comments.Entries.end(), comment), row.tagged ? 1 : 0);
        }
        ASSERT_EQ(comments.Pictures.size(), row.covered ? 1u : 0u);
        if (row.covered) {
            EXPECT_EQ(comments.Pictures[0].Data, fixtures::ReadFile(dir / "cover.jpg"));
        }
    }
}

// The level of `hz` in one channel of interleaved stereo, over whole cycles of every tone.
double ToneLevel(const std::vector<int16_t>& stereo, int channel, double hz, int rate) {
    std::complex<double> sum;
    const std::size_t from = 4800, count = std::size_t(rate) / 2;
    for (std::size_t i = 0; i < count; ++i) {
        sum += double(stereo[2 * (from + i) + channel]) * std::polar(1.0, -2 * std::numbers::pi * hz * double(i) / rate);
    }
    return 2 * std::abs(sum) / double(count);
}

TEST(SurroundDownmix, EachToneLandsOnItsSidesAtTheCoefficients) {
    fixtures::TempDir dir;
    constexpr int kRate = 48000;
    constexpr double kAmplitude = 6000, kHalfPower = 0.70710678;
    // Speakers in WAV order: front L/R, Centre, lfE, surround l/r.
    const struct { std::string speakers; uint32_t mask; } layouts[] = {
        {"LRC", 0x7}, {"LRlr", 0x33}, {"LRCElr", 0x3F}, {"LRCElrlr", 0x63F}};
    for (const auto& layout : layouts) {
        const int channels = int(layout.speakers.size());
        // A tone per channel, the LFE's low; the channel mask patched into the extensible format chunk.
        auto hzOf = [&](int c) { return layout.speakers[c] == 'E' ? 60.0 : 400.0 + 300.0 * c; };
        std::vector<int16_t> samples;
        for (int i = 0; i < kRate; ++i) {
            for (int c = 0; c < channels; ++c) {
                samples.push_back(int16_t(kAmplitude * std::sin(2 * std::numbers::pi * hzOf(c) * i / kRate)));
            }
        }
        Bytes wav = fixtures::MakeWav({.formatTag = 0xFFFE, .channels = uint16_t(channels), .rate = kRate, .fmtSize = 40},
                            fixtures::Pcm16LE(samples));
        for (int b = 0; b < 4; ++b) wav[40 + b] = uint8_t(layout.mask >> (8 * b));
        fixtures::WriteFile(dir / "s.wav", wav);
        Ffmpeg(dir, "s.flac", "-i s.wav");
        // Packets of 60 ms hold more frames than a block.
        fixtures::WriteFile(dir / "s.opus", Coded(dir, wav, "opusenc --quiet --framesize 60 \"$1\" \"$2\""));
        double norm = 1;
        for (char speaker : layout.speakers) norm += speaker == 'C' || speaker == 'l' ? kHalfPower : 0;
        for (const char* name : {"s.wav", "s.flac", "s.opus"}) {
            SCOPED_TRACE(layout.speakers + " " + name);
            AudioSource source;
            ASSERT_TRUE(OpenPath((dir / name).string(), source));
            ASSERT_EQ(source.Channels, 2);
            const std::vector<int16_t> read = ReadAll(source);
            ASSERT_EQ(read.size(), 2u * kRate);
            const double tolerance = std::string(name) == "s.opus" ? 0.06 : 0.01;
            for (int c = 0; c < channels; ++c) {
                const char speaker = layout.speakers[c];
                const double centre = speaker == 'C' ? kHalfPower : 0;
                const double onLeft = speaker == 'L' ? 1 : speaker == 'l' ? kHalfPower : centre;
                const double onRight = speaker == 'R' ? 1 : speaker == 'r' ? kHalfPower : centre;
                SCOPED_TRACE(c);
                EXPECT_NEAR(ToneLevel(read, 0, hzOf(c), kRate) / kAmplitude, onLeft / norm, tolerance);
                EXPECT_NEAR(ToneLevel(read, 1, hzOf(c), kRate) / kAmplitude, onRight / norm, tolerance);
            }
        }
    }
}

}  // namespace
