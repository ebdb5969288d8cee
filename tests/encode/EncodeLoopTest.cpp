#include "encode/EncodeLoop.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>

#include "encode/EncoderConfig.h"
#include "encode/Mp3Inspect.h"
#include "support/Fixtures.h"

namespace {

constexpr int32_t kDamaged = INT32_MIN;
int feedBlocks = 0;
int32_t feedEnd = 0;

// A reader that met damage, as the feed's source at its end.
class DamagedReader final : public ReaderBase {
public:
    DamagedReader() { MarkDamaged(); }
    int32_t Read(float**, int32_t) override { return 0; }
};

int32_t ReadFeed(int32_t out[2][kBlockFrames], AudioSource& source) {
    if (feedBlocks-- > 0) {
        for (int i = 0; i < kBlockFrames; ++i) out[0][i] = out[1][i] = (i % 32) << 20;
        return kBlockFrames;
    }
    if (feedEnd != kDamaged) return feedEnd;
    source.Reader = std::make_unique<DamagedReader>();
    return 0;
}

// `blocks` blocks of a quiet ramp, then the read gives `end` (kDamaged: 0 with the source marked, as
// a reader marks it when its data breaks off). A title in ID3v1, and in ID3v2 too when `id3v2`.
int Encode(std::FILE* out, int blocks, bool id3v2, int32_t end = 0) {
    LameContext context(lame_init());
    lame_t lame = context.get();
    id3tag_init(lame);
    ConfigureEncoder(lame, Settings{});
    lame_set_num_samples(lame, static_cast<unsigned long>(blocks) * kBlockFrames);
    id3tag_set_title(lame, "A title");
    if (id3v2) id3tag_add_v2(lame);
    lame_set_write_id3tag_automatic(lame, 0);
    EXPECT_EQ(lame_init_params(lame), 0);
    feedBlocks = blocks;
    feedEnd = end;
    errno = 0;  // a stale error number would decorate the messages
    AudioSource source;
    source.Errors.Sink = fixtures::CaptureSink();
    source.Path = "/in/fake.wav";
    return EncodeLoop(lame, out, source, nullptr, ReadFeed);
}

TEST(EncodeLoop, WritesId3v2ThenTheFinalLameTagFrameThenAudioThenId3v1) {
    struct Case { int blocks; bool id3v2; int32_t end; int result; };
    // A negative read or a damaged source still gets a finished stream, so what was read plays, but fails.
    const Case cases[] = {
        {40, true, 0, kEncodeLoopDone}, {2, false, -1, kEncodeLoopFailed}, {2, false, kDamaged, kEncodeLoopFailed}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.blocks << " blocks, ID3v2 " << c.id3v2 << ", end " << c.end);
        fixtures::ErrorCapture errors;
        fixtures::TempDir dir;
        std::FILE* out = std::fopen((dir / "out.mp3").c_str(), "w+b");
        EXPECT_EQ(Encode(out, c.blocks, c.id3v2, c.end), c.result);
        std::fclose(out);
        EXPECT_EQ(errors.joined(), c.result == kEncodeLoopDone ? "" : "Error reading input file '/in/fake.wav'\n");
        // The final LAME-tag frame, not the placeholder, after the ID3v2 tag.
        auto mp3 = mp3inspect::ReadMp3(dir / "out.mp3");
        EXPECT_EQ(std::tie(mp3["complete"], mp3["id3v1"], mp3["v2:TIT2"]),
                  std::make_tuple("1", "1", c.id3v2 ? "A title" : ""));
    }
}

// The tally was once 32 bits wide and wrapped after about 13 hours of audio.
TEST(EncodeLoop, SampleTallyCountsPast32Bits) {
    SampleTally tally{5'000'000'000 - kBlockFrames};
    EXPECT_TRUE(tally.Add(kBlockFrames));  // a multiple of 50: progress is due
    EXPECT_EQ(tally.Read, 5'000'000'000);
}

// Takes every write until the stream is seeked back to rewrite the LAME-tag frame, then none.
long position;
bool seeked;

std::FILE* OpenRewriteFailingStream() {
    position = 0;
    seeked = false;
    cookie_io_functions_t io{};
    io.write = [](void*, const char*, std::size_t size) -> ssize_t {
        if (seeked) return 0;
        position += static_cast<long>(size);
        return static_cast<ssize_t>(size);
    };
    io.seek = [](void*, off64_t* offset, int whence) -> int {
        if (whence == SEEK_END) return -1;
        // The C library seeks a buffered stream to a block boundary, then on from there.
        *offset = position = (whence == SEEK_CUR ? position : 0) + static_cast<long>(*offset);
        seeked |= whence == SEEK_SET;
        return 0;
    };
    return fopencookie(nullptr, "w+", io);
}

char buffer[1 << 20];

TEST(EncodeLoop, AWriteFailureFailsTheFileUnlessOnlyTheLameTagFrameIsLost) {
    // `closed`: what closing the output gives after a finished loop.
    struct Case { const char* name; bool full, buffered; int result; bool closed; std::string message; };
    const std::string full = " error is No space left on device (28)";
    const Case cases[] = {
        {"full disk", true, false, kEncodeLoopFailed, false, "Error writing ID3v2 tag \n" + full},
        // A full disk behind the buffer once passed as a LAME-tag frame that could not be updated.
        {"full disk behind the buffer", true, true, kEncodeLoopFailed, false, "Error writing mp3 output \n" + full},
        // Only the rewrite after the seek fails: the audio is complete.
        {"LAME-tag frame", false, false, kEncodeLoopDone, true, "Error writing LAME-tag \n"},
        // The rewritten LAME-tag frame is still buffered when the loop returns: only the close can tell.
        {"buffered LAME-tag frame", false, true, kEncodeLoopDone, false, "Error writing mp3 output \n"},
    };
    for (const Case& c : cases) {
        fixtures::ErrorCapture errors;
        std::FILE* file = c.full ? std::fopen("/dev/full", "wb") : OpenRewriteFailingStream();
        setvbuf(file, c.buffered ? buffer : nullptr, c.buffered ? _IOFBF : _IONBF, sizeof buffer);
        const int result = Encode(file, 20, true);
        EXPECT_EQ(result, c.result) << c.name;
        const ErrorReporter reporter{{}, fixtures::CaptureSink()};
        const bool closed = CloseMp3Output(file, result == kEncodeLoopDone ? &reporter : nullptr);
        EXPECT_EQ(result == kEncodeLoopDone && closed, c.closed) << c.name;
        EXPECT_EQ(errors.joined(), c.message) << c.name;
    }
}

}  // namespace
