// Reading inputs through the AudioSource: saturation, the damaged mark of
// every reader, and cut or changed files of each format, which must never
// pass as whole.

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <numeric>
#include <unistd.h>

#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "input/PcmReader.h"
#include "support/MpegFixtures.h"

namespace {

using namespace input_test;
using namespace mpeg_fixtures;
using fixtures::MakeWav;
using fixtures::Pcm16LE;
using std::string_literals::operator""s;
namespace fs = std::filesystem;

constexpr float kInf = std::numeric_limits<float>::infinity(), kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kLoud[] = {40000.0f, -40000.0f, 32767.9f, -32768.9f, kInf, kNan, -1.5f};
constexpr int32_t kSaturated[] = {32767, -32768, 32767, -32768, 32767, 0, -1};

// Stands for the ReplayGain stage around the reader, which pushes samples past 16 bits.
class LoudStage final : public ReaderBase {
public:
    LoudStage() { stream_.Channels = 2; }
    int32_t Read(float** buffers, int32_t) override {
        for (int c = 0; c < 2; ++c) std::copy(std::begin(kLoud), std::end(kLoud), buffers[c]);
        return std::ssize(kLoud);
    }
};

// Makes every later read of the open file `path` fail, as a disk error would.
void FailReadsOf(const fs::path& path) {
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (fs::read_symlink(entry.path(), error) == path) dup2(open(path.c_str(), O_WRONLY), std::stoi(entry.path().filename()));
    }
}

TEST(AudioSource, BothBlockLayoutsSaturateInsteadOfWrapping) {
    fixtures::TempDir dir;
    AudioSource source;
    ASSERT_TRUE(OpenBytes(dir, MakeWav({}, Pcm16LE({1, 1})), source));
    source.Reader = std::make_unique<LoudStage>();
    int16_t narrow[2][kBlockFrames];
    int32_t wide[2][kBlockFrames];
    ASSERT_EQ(ReadSourceBlock16(narrow, source), std::ssize(kLoud));
    ASSERT_EQ(ReadSourceBlock(wide, source), std::ssize(kLoud));
    for (int i = 0; i < std::ssize(kLoud); ++i) {
        for (int c = 0; c < 2; ++c) {
            EXPECT_EQ(narrow[c][i], kSaturated[i]) << kLoud[i];
            EXPECT_EQ(wide[c][i], kSaturated[i] * 65536) << kLoud[i];  // the encoder takes the upper half
        }
    }
}

// Where page `index` of an Ogg file starts.
std::size_t PageStart(const Bytes& ogg, int index) {
    std::size_t at = 0;
    while (index-- > 0) at += 27 + ogg[at + 26] + std::accumulate(&ogg[at + 27], &ogg[at + 27 + ogg[at + 26]], 0u);
    return at;
}

// The Xing frame of a VBR MP3 with its frame count taken out (the byte count stays): the fields after
// it move up and the frame keeps its length.
Bytes WithoutXingFrameCount(Bytes mp3) {
    const Bytes xing = {'X', 'i', 'n', 'g'}, sync = {0xFF, 0xFB};  // the frame is zeros after its tags
    const auto at = std::search(mp3.begin(), mp3.end(), xing.begin(), xing.end()) - mp3.begin();
    mp3.insert(std::search(mp3.begin() + at, mp3.end(), sync.begin(), sync.end()), 4, 0);
    mp3[at + 7] &= ~1;
    mp3.erase(mp3.begin() + at + 8, mp3.begin() + at + 12);
    return mp3;
}

// Whatever the reader, an input that breaks off, loses data on the way or fails a read ends its data
// marked damaged, and every whole frame before the damage is still delivered: a damaged input passing
// as whole would be deleted with its conversion done.
TEST(AudioSource, CutOrDamagedInputsEndMarkedDamaged) {
    fixtures::TempDir dir;
    const std::vector<int16_t> samples = fixtures::Sine16(2, 44100, 1000);
    Bytes wav = MakeWav({}, Pcm16LE(samples));
    Bytes aiff = Form("AIFF", {Common(2, 1000, 16), Sound(Packed({samples.begin(), samples.end()}, 2, true))});
    // 499 whole frames and part of one.
    wav.resize(wav.size() - 500 * 4 - 1);
    aiff.resize(aiff.size() - 500 * 4 - 3);
    WriteClickWav(dir / "a.wav", 2, 44100, 3 * 44100, 10);
    const Bytes clicks = fixtures::ReadFile(dir / "a.wav"), noise = Noise(5000, 14);
    const Bytes tagged = fixtures::ReadFile(Lame(dir / "a.wav", dir / "a.mp3", "-b 128"));
    const Bytes plain = fixtures::ReadFile(Lame(dir / "a.wav", dir / "p.mp3", "-b 128 -t"));
    // Its Xing frame counts the frames.
    const Bytes vbr = fixtures::ReadFile(Lame(dir / "a.wav", dir / "v.mp3", "-V 2"));
    // The second tag holds a frame header inside a frame; the count must still come from the Xing frame.
    const Bytes priv = Cat({{'P', 'R', 'I', 'V', 0, 0, 0, 46, 0, 0, 'x', 0, 0xFF, 0xFB, 0x90, 0x64}, Bytes(40, 0)});
    const Bytes twoTags = Cat({Id3v2Tag({'T', 'I', 'T', '2', 0, 0, 0, 2, 0, 0, 0, 'x'}), Id3v2Tag(priv), vbr});
    const Bytes link = Coded(dir, clicks, kOggTool + " --serial 1"s), page = {'O', 'g', 'g', 'S'};
    const Bytes cutLink(link.begin(), std::find_end(link.begin(), link.end(), page.begin(), page.end()));
    const Bytes opus = Coded(dir, clicks, kOpusTool);
    auto half = [](const Bytes& file) { return Bytes(file.begin(), file.begin() + std::ssize(file) / 2); };
    auto flipped = [](Bytes file, std::size_t at) { return file[at] ^= 0x41, file; };
    // Chains at 48 kHz: a sine; the same on the left only (heard as its mean in mono, 6 dB down); with an R128 gain.
    const std::vector<int16_t> sine = fixtures::Sine16(1, 48000, 48000);
    std::vector<int16_t> leftOnly(2 * sine.size(), 0);
    for (std::size_t i = 0; i < sine.size(); ++i) leftOnly[2 * i] = sine[i];
    const Bytes monoWav = MakeWav({.channels = 1, .rate = 48000}, Pcm16LE(sine)),
                leftWav = MakeWav({.rate = 48000}, Pcm16LE(leftOnly));
    const Bytes vorbisA = Coded(dir, monoWav, kOggTool + " --serial 1"s), vorbisB = Coded(dir, leftWav, kOggTool);
    const Bytes opusA = Coded(dir, monoWav, kOpusTool + " --serial 1"s), opusB = Coded(dir, leftWav, kOpusTool);
    const Bytes opusGained = Coded(dir, leftWav, kOpusTool + " --serial 1 --comment R128_TRACK_GAIN=-2560"s);
    const SourceType mp3 = kSourceMpegLayer3, opusType = ClassifyPath("x.opus");
    // The index first, so that a cut file still opens, and more bytes than the open reads ahead; an ADTS frame
    // overwritten inside its data.
    const Bytes m4a = Coded(dir, clicks, "ffmpeg -v error -y -i \"$1\" -c:a aac -b:a 320k -movflags +faststart -f mp4 \"$2\"");
    Bytes adts = Coded(dir, clicks, "ffmpeg -v error -y -i \"$1\" -c:a aac -f adts \"$2\"");
    std::copy_n(noise.begin(), 64, adts.begin() + std::ssize(adts) / 2);
    const SourceType m4aType = ClassifyPath("x.m4a"), adtsType = ClassifyPath("x.aac");
    const struct {
        const char* name;
        Bytes file;
        SourceType type;
        int64_t frames;  // at least delivered; -1: the open fails as a read does
        bool damaged, readsFail = false;
        double tailDb = 0;  // the level of the end (the later link) against the sine's, when not 0
        ScaleModeChoice scaling = ScaleModeChoice::None;
    } rows[] = {
        {"WAV cut", wav, kSourceWav, 499, true},
        {"AIFF cut", aiff, kSourceWav, 499, true},
        {"MP3 junk the decoder cannot resynchronise past", Spliced(plain, 20 * 418, noise), mp3, 20 * 1152, true},
        {"the same junk after the frames a stream announced", Cat({tagged, noise}), mp3, 20 * 1152, false},
        {"a damaged frame the decoder resynchronises past", Spliced(plain, 20 * 418 + 100, Bytes(200, 0)), mp3,
         20 * 1152, false},
        {"an Ogg chain whose first link lost its last page", Cat({cutLink, Coded(dir, clicks, kOggTool)}), kSourceOgg,
         100000, true},
        {"a VBR MP3 behind two ID3v2 tags", twoTags, mp3, 3 * 44100, false},
        {"the same cut in half, short of its Xing frame's count", half(twoTags), mp3, 10 * 1152, true},
        {"an Opus file cut", half(opus), opusType, 0, true},
        // The first audio page, which libopusfile passes over.
        {"an Opus file that lost a page", flipped(opus, PageStart(opus, 2) + 40), opusType, 0, true},
        {"a FLAC file whose reads fail", Coded(dir, clicks, kFlacTool), kSourceFlac, 0, true, true},
        {"an Ogg file whose reads fail", link, kSourceOgg, 0, true, true},
        {"an MP3 whose reads fail", vbr, mp3, 0, true, true},
        {"an Opus file whose reads fail", opus, opusType, 0, true, true},
        {"an Ogg chain whose later link lost its first page",
         Cat({vorbisA, Bytes(vorbisB.begin() + PageStart(vorbisB, 1), vorbisB.end())}), kSourceOgg, 0, true},
        {"an Opus chain whose later link has a bad checksum on its first page",
         flipped(Cat({opusA, opusB}), opusA.size() + 40), opusType, 0, true},
        {"a Vorbis chain of a mono link and a stereo one", Cat({vorbisA, vorbisB}), kSourceOgg, 96000, false, false, -6.02},
        {"an Opus chain of a mono link and a stereo one", Cat({opusA, opusB}), opusType, 96000, false, false, -6.02},
        {"a VBR MP3 whose Xing frame has a byte count but no frame count", WithoutXingFrameCount(vbr), mp3, 3 * 44100,
         false},
        {"an Opus file cut inside its first audio page", Bytes(opus.begin(), opus.begin() + PageStart(opus, 2) + 100),
         opusType, -1, true},
        {"an M4A file cut", half(m4a), m4aType, 44100, true},
        {"an AAC frame overwritten", adts, adtsType, 44100, true},
        {"an M4A file whose reads fail", m4a, m4aType, 0, true, true},
        {"an Opus chain whose later link has no R128 gain", Cat({opusGained, opusB}), opusType, 96000, false, false,
         -3.01, ScaleModeChoice::TrackGain},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AudioSource source;
        fixtures::ErrorCapture errors;
        const bool opened = OpenBytes(dir, row.file, source, row.type, "input", {.Scaling = row.scaling});
        if (row.frames < 0) {
            EXPECT_FALSE(opened);
            EXPECT_EQ(errors.joined(), "Error reading input file '" + (dir / NameOfType("input", row.type)).string() + "'\n");
            continue;
        }
        ASSERT_TRUE(opened);
        if (row.readsFail) FailReadsOf(source.Path);
        const std::vector<int16_t> read = ReadAll(source);
        const int64_t frames = std::ssize(read) / source.Channels;
        EXPECT_GE(frames, row.frames);
        // The container rows: exactly the whole frames before the cut.
        if (row.type == kSourceWav) {
            EXPECT_EQ(read, std::vector<int16_t>(samples.begin(), samples.begin() + 499 * 2));
        }
        if (!row.damaged && source.Info.FrameCount > 0) {
            EXPECT_EQ(source.Info.FrameCount * 1152, frames);
        }
        EXPECT_EQ(source.Damaged(), row.damaged);
        if (row.tailDb != 0) {
            ASSERT_GE(std::ssize(read), 48000);
            EXPECT_NEAR(LevelDb({read.end() - 24000, read.end()}) - LevelDb(sine), row.tailDb, 0.3);
        }
    }
}

// Every cut of a FLAC or Ogg file, or of a WAV or AIFF header, fails the open with a message or ends the data
// marked damaged, as does every changed byte of an Ogg file (its pages carry checksums). Each 1-, 2- and 4-byte
// field of the small files set to 0, 1, -2, -1 or its signed extremes in either byte order, and each changed FLAC
// byte, must open or fail cleanly: under the sanitizers, bad accesses, overflows and divisions by zero show here.
TEST(AudioSource, NoCutOrChangedFilePassesAsWhole) {
    fixtures::TempDir dir;
    fixtures::ErrorCapture errors;
    struct Swept { std::string name; Bytes file; std::size_t step; bool cutDamages, changeDamages; };
    const Swept files[] = {
        {"list.wav", Spliced(MakeWav({}, Packed({1, 2, 3, 4, 5, 6}, 2)), 12, Chunk("LIST", {'x'})), 1, false, false},
        {"float.wav", MakeWav({.formatTag = 0xFFFE, .bits = 32, .fmtSize = 40, .subFormatCode = 3},
                              Floats({0.5f, -0.5f, 1, -1})), 1, false, false},
        {"aiff.wav", Form("AIFF", {Common(2, 2, 16), Sound(Packed({1, 2, 3, 4}, 2, true))}), 1, false, false},
        {"sowt.wav", Form("AIFC", {Common(2, 2, 16, "sowt"), Sound(Packed({1, 2, 3, 4}, 2), 2)}), 1, false, false},
        {"small.flac", Coded(dir, SineWav(2, 6000), kFlacTool + " -T ARTIST=x"s), 23, true, false},
        {"small.ogg", Coded(dir, SineWav(2, 6000), kOggTool + " -c ARTIST=x"s), 13, true, true},
    };
    int caseNumber = 0;
    auto check = [&](const Swept& swept, const Bytes& file, bool mustBeDamaged, const std::string& change) {
        SCOPED_TRACE(swept.name + " " + change);
        errors.clear();
        AudioSource source;
        // A fresh name per case: rewriting one file makes the file system flush it each time.
        const std::string name = std::to_string(++caseNumber) + swept.name;
        const bool opened = OpenBytes(dir, file, source, ClassifyPath(name), name, {.WantComments = true});
        fs::remove(dir / name);
        if (!opened) {
            EXPECT_FALSE(errors.messages().empty()) << "failed without a message";
            return;
        }
        EXPECT_LE(ReadAll(source, 10).size(), 6000u * 2);
        int16_t block[2][kBlockFrames];
        EXPECT_EQ(ReadSourceBlock16(block, source), 0) << "no end";
        EXPECT_TRUE(source.Damaged() || !mustBeDamaged);
    };
    // Neither a failed open nor a source dropped unclosed may leave its file open.
    auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    for (const Swept& swept : files) {
        for (std::size_t at = 0; at < swept.file.size(); at += swept.step) {
            const bool inStream = at >= 4;  // what is cut before "fLaC" or "OggS" is nothing to read
            check(swept, Bytes(swept.file.begin(), swept.file.begin() + static_cast<std::ptrdiff_t>(at)),
                  swept.cutDamages && inStream, "cut at " + std::to_string(at));
            if (swept.step > 1) {
                Bytes changed = swept.file;
                changed[at] ^= 0x41;
                check(swept, changed, swept.changeDamages, "changed at " + std::to_string(at));
                continue;
            }
            for (int width : {1, 2, 4}) {
                const int64_t top = int64_t{1} << (8 * width - 1);
                for (int64_t value : {int64_t{0}, int64_t{1}, int64_t{-2}, int64_t{-1}, top - 1, -top}) {
                    for (bool bigEndian : {false, true}) {
                        Bytes changed = swept.file, field = Packed({value}, width, bigEndian);
                        if (at + field.size() > swept.file.size() || (bigEndian && width == 1)) continue;
                        std::copy(field.begin(), field.end(), changed.begin() + static_cast<std::ptrdiff_t>(at));
                        check(swept, changed, false, std::to_string(width) + " bytes of " + std::to_string(value));
                    }
                }
            }
        }
    }
    EXPECT_EQ(openFiles(), filesBefore);
}

// Without a known length (a pipe) the end of the file ends the data; a failed read must not end it as whole.
TEST(AudioSource, AFailedReadOfUnknownLengthMarksTheSourceDamaged) {
    std::FILE* writeOnly = std::fopen("/dev/null", "w");
    ASSERT_NE(writeOnly, nullptr);
    PcmReader reader(FilePtr(writeOnly), {.Channels = 2, .Encoding = PcmEncoding::Signed16LE});
    float left[16], right[16], *buffers[2] = {left, right};
    EXPECT_EQ(reader.Read(buffers, 16), 0);
    ASSERT_NE(reader.Damage(), nullptr);
    EXPECT_EQ(reader.Damage()->SystemError, EBADF);
}

}  // namespace
