// The Ogg Vorbis reader: its clamp and gain, and chained links of other
// channel counts against oggdec.

#include <limits>

#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "input/SampleConversion.h"

namespace {

using namespace input_test;
using fixtures::ShellQuote;
using std::string_literals::operator""s;

TEST(SampleConversion, OggClampRoundingAndGainSaturate) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, int16_t> rounded[] = {
        {1.0f, 32766}, {-1.0f, -32767}, {0.5f, 16384}, {-1.5f, -32767}, {inf, 32766}, {nan, 0},
    };
    for (const auto& [sample, expected] : rounded) EXPECT_EQ(VorbisFloatToInt16(sample), expected) << sample;
    // A positive gain on a loud passage must saturate, never wrap into a click.
    const std::tuple<int16_t, double, int16_t> scaled[] = {
        {32766, 0.5, 16383}, {-3, 0.5, -1}, {30000, 2.0, 32767}, {-30000, 2.0, -32768}, {100, 1e300 * 1e300, 32767},
    };
    for (const auto& [sample, factor, expected] : scaled) {
        EXPECT_EQ(ScaleVorbisSample(sample, factor), expected) << sample << " x " << factor;
    }
}

// oggdec rounds x 32768 where the reader rounds x 32767 after its clamp: at most two apart. A frame off,
// or channels swapped, is far more on a sine. Sample i of oggdec's output against read[first + i * stride].
void ExpectNearOggdec(const fixtures::TempDir& dir, const Bytes& ogg, const std::vector<int16_t>& read,
                      std::size_t first, std::size_t stride) {
    fixtures::WriteFile(dir / "link.ogg", ogg);
    const std::string command = "oggdec --quiet --raw -o " + ShellQuote((dir / "link.raw").string()) + " " +
                                ShellQuote((dir / "link.ogg").string());
    ASSERT_EQ(std::system(command.c_str()), 0);
    const Bytes raw = fixtures::ReadFile(dir / "link.raw");
    ASSERT_LE(first + (raw.size() / 2 - 1) * stride, read.size() - 1);
    for (std::size_t i = 0; i < raw.size() / 2; ++i) {
        ASSERT_NEAR(read[first + i * stride], static_cast<int16_t>(raw[2 * i] | raw[2 * i + 1] << 8), 2) << i;
    }
}

TEST(OggReader, LinksOfOtherChannelCountsKeepTheFirstLayout) {
    fixtures::TempDir dir;
    const Bytes stereo = Coded(dir, SineWav(2, 3000), kOggTool + " --serial 1"s),
                mono = Coded(dir, SineWav(1, 2000), kOggTool + " --serial 2"s);
    AudioSource source;
    ASSERT_TRUE(OpenBytes(dir, Cat({stereo, mono}), source, kSourceOgg, "chained.ogg"));
    EXPECT_EQ(source.Info.SampleCount, 5000);
    const std::vector<int16_t> read = ReadAll(source);
    ASSERT_EQ(read.size(), 5000u * 2);  // two channels
    ExpectNearOggdec(dir, stereo, read, 0, 1);
    // The mono link is heard on both sides.
    ExpectNearOggdec(dir, mono, read, 3000 * 2, 2);
    ExpectNearOggdec(dir, mono, read, 3000 * 2 + 1, 2);
    EXPECT_FALSE(source.Damaged());
}

}  // namespace
