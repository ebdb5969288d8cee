// The WAV, AIFF and FLAC readers: every layout to exact values, chunk
// walking, and each warning and error text.

#include <array>
#include <limits>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "InputTestSupport.h"

namespace {

using namespace input_test;
using fixtures::MakeWav;
using std::string_literals::operator""s;
namespace fs = std::filesystem;

constexpr const char* kUnrecognised = "Unrecognised format\n";
constexpr const char* kInvalidFormat =
    "Warning: INVALID format chunk in wav header.\n Trying to read anyway (may not work)...\n";
constexpr const char* kBlockAlign = "Warning: WAV 'block alignment' value is incorrect, ignoring.\n"
                                    "The software that created this file is incorrect.\n";
constexpr const char* kWavType =
    "ERROR: Wav file is unsupported type (must be standard PCM\n or type 3 floating point PCM)";
constexpr const char* kWavBits =
    "ERROR: Wav file is unsupported subformat (must be 8, 16, 24 or 32 bit PCM\nor floating point PCM)\n";
constexpr const char* kAiffChunkEof = "Warning: Unexpected EOF in AIFF chunk\n";

struct Readable {
    std::string name;
    Bytes file;
    std::vector<int16_t> expected;
    int channels = 2;
    bool alsoFlac = false;  // a FLAC file made from the row's WAV file must read the same
    std::vector<std::string> warnings = {};
    bool counted = true;    // the header gives the length
    bool piped = false;     // read through a pipe, which cannot seek
};

TEST(ContainerReader, EveryLayoutAndChunkOrderReadsTheExactValues) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<int16_t> six = {1, 2, 3, 4, 5, 6}, edges = {1234, -1234, 32767, -32768},
                               sine = fixtures::Sine16(2, 44100, 4096 * 2 + 1000);
    const Bytes pcm = Packed({1, 2, 3, 4, 5, 6}, 2), edgesLE = Packed({edges.begin(), edges.end()}, 2),
                edgesBE = Packed({edges.begin(), edges.end()}, 2, true), odd = Chunk("NAME", {'x', 'y', 'z'}, true);
    fixtures::TempDir dir;
    // Blocks of 4096 with a short last frame, served to 1152-frame reads.
    const Bytes flac = Coded(dir, SineWav(2, std::ssize(sine) / 2), kFlacTool);
    std::vector<Readable> rows = {
        {"WAV 8-bit", MakeWav({.channels = 1, .bits = 8, .fmtSize = 18}, {0, 128, 255, 1}),
         {-32768, 0, 32512, -32512}, 1, true},
        {"WAV 24-bit", MakeWav({.bits = 24}, Packed({8388607, -8388608, 256, 255, -1, -256, -257, 0}, 3)),
         {32767, -32768, 1, 0, 0, -1, -1, 0}, 2, true},
        // 65601535 = 1000 x 65536 + 65535: a float of the whole value rounds it to 1001.
        {"WAV 32-bit", MakeWav({.channels = 1, .bits = 32},
                               Packed({INT32_MAX, INT32_MIN, 65536, 65535, -65536, -65535, 65601535}, 4)),
         {32767, -32768, 1, 0, -1, 0, 1000}, 1, true},
        {"WAV float", MakeWav({.formatTag = 3, .bits = 32}, Floats({1, -1, 2, -2, 0.5f, nan, inf, -inf, -1e-5f, 0})),
         {32767, -32768, 32767, -32768, 16384, 0, 32767, -32768, 0, 0}},
        {"WAV extensible PCM", MakeWav({.formatTag = 0xFFFE, .fmtSize = 40}, edgesLE), edges},
        {"WAV extensible float", MakeWav({.formatTag = 0xFFFE, .channels = 1, .bits = 32, .fmtSize = 40,
                                          .subFormatCode = 3}, Floats({1.0f, -1.0f, 2.0f, 0.25f})),
         {32767, -32768, 32767, 8192}, 1},
        // Two's-complement bytes: 0x80 is the most negative sample, not silence.
        {"AIFF 8-bit", Form("AIFF", {Common(1, 5, 8), Sound({0x80, 0x7F, 0x00, 0xFF, 0x01})}),
         {-32768, 32512, 0, -256, 256}, 1},
        {"AIFF-C NONE", Form("AIFC", {Common(2, 2, 16, "NONE"), Sound(edgesBE)}), edges},
        {"AIFF-C sowt", Form("AIFC", {Common(2, 2, 16, "sowt"), Sound(edgesLE)}), edges},
        // Odd chunks and odd data carry a pad byte; chunks after the data are never samples.
        {"WAV odd chunks around odd data", Cat({Spliced(MakeWav({.channels = 1, .bits = 8}, {0, 255, 128}), 12,
                                                        Chunk("LIST", {'a', 'b', 'c'})), Chunk("LIST", Bytes(64, 1))}),
         {-32768, 32512, 0}, 1},
        {"AIFF odd chunks around odd data",
         Form("AIFF", {odd, Common(1, 3, 8), odd, Sound({1, 2, 3}), Chunk("ANNO", {1}, true)}), {256, 512, 768}, 1},
        {"AIFF sound chunk first", Form("AIFF", {Sound(Packed({11, -11}, 2, true)), Common(2, 1, 16)}), {11, -11}},
        {"AIFF data offset", Form("AIFF", {Common(1, 2, 16), Sound(Packed({100, 200}, 2, true), 4)}), {100, 200}, 1},
        // A format chunk of odd length (its pad byte follows), and one longer than the 40 bytes read.
        {"WAV format of 17", Spliced(MakeWav({.fmtSize = 17}, pcm), 37, {0}), six, 2, false, {kInvalidFormat}},
        {"WAV format of 60", MakeWav({.fmtSize = 60}, pcm), six, 2, false, {kInvalidFormat}},
        {"WAV wrong block alignment", MakeWav({.channels = 1, .blockAlign = 4}, pcm), six, 1, false, {kBlockAlign}},
        {"FLAC 16-bit", flac, sine},
        // 0 means the count was not written, not an empty stream.
        {"FLAC without its count", fixtures::WithoutFlacTotal(flac), sine, 2, false, {}, false},
        // Some taggers put an ID3v2 tag in front: one longer and one shorter than the bytes the probes read.
        {"FLAC behind an ID3v2 tag", Cat({Id3v2Tag(Bytes(300, 0)), flac}), sine},
        {"FLAC behind an empty ID3v2 tag", Cat({Id3v2Tag({}), flac}), sine},
    };
    // A chunk a pipe must skip by reading, its pad byte too, before data of an unpatched length.
    rows.push_back({"WAV through a pipe", Spliced(MakeWav({.dataLength = 0}, pcm), 12, Chunk("LIST", Bytes(3001, 1))),
                    six, 2, false, {}, false, true});
    // Lengths a streaming writer left unpatched: WAV data runs to the file's end, AIFF data to its chunk's.
    for (int64_t mark : {0LL, 0x7FFFFFFFLL, 0xFFFFFFFFLL}) {
        rows.push_back({"WAV streaming length", MakeWav({.dataLength = mark}, pcm), six});
        rows.push_back({"AIFF streaming frame count",
                        Form("AIFF", {Common(2, mark, 16), Sound(edgesBE), Chunk("ANNO", {1}, true)}), edges});
    }
    for (std::size_t i = 0, wavRows = rows.size(); i < wavRows; ++i) {
        if (rows[i].alsoFlac) rows.push_back({"FLAC of " + rows[i].name, Coded(dir, rows[i].file, kFlacTool),
                                              rows[i].expected, rows[i].channels});
    }
    int index = 0;
    for (const Readable& row : rows) {
        SCOPED_TRACE(row.name);
        fixtures::ErrorCapture errors;
        AudioSource source;
        // The content decides, whatever the type.
        const SourceType type = std::array{kSourceWav, kSourceAiff, kSourceFlac}[index++ % 3];
        if (row.piped) {
            int ends[2];
            ASSERT_EQ(pipe(ends), 0);
            ASSERT_EQ(write(ends[1], row.file.data(), row.file.size()), std::ssize(row.file));  // within its buffer
            close(ends[1]);
            // A name of the type that leads to the pipe.
            const fs::path name = dir / NameOfType("piped", type);
            fs::remove(name);
            fs::create_symlink("/proc/self/fd/" + std::to_string(ends[0]), name);
            ASSERT_TRUE(OpenPath(name.string(), source));
            close(ends[0]);  // the source opened the pipe anew
        } else {
            ASSERT_TRUE(OpenBytes(dir, row.file, source, type));
        }
        EXPECT_EQ(source.Info.Channels, row.channels);
        EXPECT_EQ(source.Info.SampleRate, 44100);
        const int64_t frames = std::ssize(row.expected) / row.channels;
        EXPECT_EQ(source.Info.SampleCount, row.counted ? frames : kSampleCountNotGiven);
        EXPECT_EQ(ReadAll(source), row.expected);
        EXPECT_FALSE(source.Damaged());
        EXPECT_EQ(errors.messages(), row.warnings);
    }
}

// A failed open reports and returns, never ends the process, and leaves nothing open. Cut headers are
// in the sweep of NoCutOrChangedFilePassesAsWhole.
TEST(ContainerReader, RefusedHeadersFailWithTheirMessages) {
    fixtures::TempDir dir;
    const std::string path = (dir / "input.wav").string(), oggPath = path + ".ogg", unknownPath = path + ".unknown";
    const Bytes wav = MakeWav({}, Packed({1, 2, 3, 4}, 2)), cutFormat(wav.begin(), wav.begin() + 30);
    Bytes shortFormat = wav, hugeFormat = cutFormat;
    shortFormat[16] = 14;
    hugeFormat[16] = 0xF0, hugeFormat[17] = 0xFF, hugeFormat[18] = 0xFF, hugeFormat[19] = 0x7F;
    const Bytes common = Common(1, 2, 16), sound = Sound(Packed({1, 2}, 2, true));
    const struct { Bytes file; std::vector<std::string> messages; SourceType type = kSourceWav; } rows[] = {
        {shortFormat, {"Warning: Unrecognised format chunk in WAV header\n", kUnrecognised}},
        {hugeFormat, {kInvalidFormat, "Warning: Unexpected EOF in reading WAV header\n", kUnrecognised}},  // 2 GiB
        {MakeWav({.formatTag = 2}, {}), {kWavType + "(1)\n"s, kUnrecognised}},
        {MakeWav({.formatTag = 0xFFFE, .fmtSize = 40, .subFormatCode = 2}, {}), {kWavType + "(2)\n"s, kUnrecognised}},
        {MakeWav({.bits = 12}, {}), {kBlockAlign, kWavBits, kUnrecognised}},
        // Zero bits make frames of no bytes, which would read as an empty file converted whole.
        {MakeWav({.bits = 0}, {}), {kWavBits, kUnrecognised}},
        {MakeWav({.channels = 9}, {}), {"Unsupported number of channels: 9d\n"}},  // beyond the downmix
        {MakeWav({.rate = 0x80000000u}, {}), {"Unsupported sample rate\n"}},  // beyond the signed range
        {{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' ', 0, 0}, {kUnrecognised}},
        {Form("AIFF", {sound}), {kAiffChunkEof, "Warning: No common chunk found in AIFF file\n", kUnrecognised}},
        {Form("AIFF", {Chunk("COMM", Bytes(16, 0), true), sound}),
         {"Warning: Truncated common chunk in AIFF header\n", kUnrecognised}},
        {Form("AIFC", {Common(1, 1, 32, "fl32"), sound}),
         {"Warning: Can't handle compressed AIFF-C (fl32)\n", kUnrecognised}},
        {Form("AIFC", {Common(1, 2, 16, "NONE")}),
         {kAiffChunkEof, "Warning: No SSND chunk found in AIFF file\n", kUnrecognised}},
        {Form("AIFF", {common, Chunk("SSND", Bytes(4, 0), true)}),
         {"Warning: Corrupted SSND chunk in AIFF header\n", kUnrecognised}},
        {Form("AIFF", {Common(1, 2, 24), Sound(Bytes(6, 0))}),
         {"Warning: Quavermill does not support this type of AIFF/AIFC file\n Must be 8 or 16 bit PCM.\n",
          kUnrecognised}},
        // The Ogg rows read a file of their types that no probe takes.
        {Bytes(100, 'x'), {"Error reading headers in ogg input file " + oggPath + ".\n"}, kSourceOgg},
        {wav, {"No reader for this input type: '" + unknownPath + "'\n"}, kSourceUnknown},
    };
    int index = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(index++);
        fixtures::ErrorCapture errors;
        AudioSource source;
        EXPECT_FALSE(OpenBytes(dir, row.file, source, row.type));
        EXPECT_EQ(errors.messages(), row.messages);
        EXPECT_EQ(source.Reader, nullptr);
    }
    fixtures::ErrorCapture errors;
    AudioSource source;
    const std::string absent = (dir / "absent.wav").string();
    EXPECT_FALSE(OpenPath(absent, source));
    EXPECT_THAT(errors.messages(), ::testing::ElementsAre(::testing::StartsWith("Can't open input file '" + absent + "'\n")));
}

}  // namespace
