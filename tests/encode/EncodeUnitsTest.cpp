#include <gtest/gtest.h>

#include <vector>

#include "encode/EncoderConfig.h"
#include "encode/Utf8ToLocal.h"

// The rows name only the settings they change; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// The encode job's tag table carries the well-formed names; here what a damaged comment holds, and the
// edge of Latin-1.
TEST(Utf8ToLocal, ReplacesWhatLatin1LacksAndEveryMalformedSequence) {
    struct Case { const char* name; std::string utf8, latin1; bool fits; };
    const Case cases[] = {
        {"the top of Latin-1, then the first character past it", "\xC3\xBF\xC4\x80", "\xFF?", false},
        {"lone continuation byte", "a\x80z", "a?z", false},
        {"sequence broken by ASCII", "a\xC3z", "a?z", false},
        {"overlong slash", "a\xC0\xAFz", "a??z", false},
        {"encoded surrogate", "a\xED\xA0\x80z", "a?z", false},
        {"sequence cut at the end ends the text", "ab\xE2\x82", "ab", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToLocal(c.utf8), c.latin1) << c.name;
        EXPECT_EQ(FitsLatin1(c.utf8), c.fits) << c.name;
    }
    EXPECT_EQ(Utf8ToUtf16ForTag("a\x80"), (std::vector<unsigned short>{0xFEFF, 'a', 0xFFFD, 0}));
}

TEST(EncoderConfig, SettingsBecomeTheLibrarysModeTargetAndQuality) {
    const int untouched = lame_get_quality(LameContext(lame_init()).get());
    // vbrQuality: VBR only, else 0; quality -1: no call was made; bitrate: CBR or ABR mean, else 0.
    struct Case { const char* name; Settings options; vbr_mode vbr; float vbrQuality; int quality, bitrate; };
    constexpr TargetChoice bitrate = TargetChoice::Bitrate;
    const Case cases[] = {
        {"CBR 192, high",
         {.SetBitrate = bitrate, .Quality = EngineQualityChoice::High, .SetCBR = BitrateKindChoice::Constant,
          .CBRBitrate = 192},
         vbr_off, 0, 2, 192},
        {"ABR 150, fast", {.SetBitrate = bitrate, .Quality = EngineQualityChoice::Fast, .ABRBitrate = 150}, vbr_abr, 0,
         7, 150},
        // Only 1 asks for a bitrate target; a VBR target never passes the engine quality on.
        {"SetBitrate 8", {.SetBitrate = TargetChoice{8}, .Quality = EngineQualityChoice::Fast, .VBRQuality = 101},
         vbr_mtrh, 9.0f, -1, 0},
    };
    for (const Case& c : cases) {
        LameContext context(lame_init());
        lame_t lame = context.get();
        ConfigureEncoder(lame, c.options);
        EXPECT_EQ(lame_get_VBR(lame), c.vbr) << c.name;
        EXPECT_EQ(lame_get_quality(lame), c.quality < 0 ? untouched : c.quality) << c.name;
        EXPECT_NEAR(c.vbr == vbr_mtrh ? lame_get_VBR_quality(lame) : 0.0f, c.vbrQuality, 0.002) << c.name;
        const int bitrate = c.vbr == vbr_off ? lame_get_brate(lame) : lame_get_VBR_mean_bitrate_kbps(lame);
        EXPECT_EQ(c.vbr == vbr_mtrh ? 0 : bitrate, c.bitrate) << c.name;
    }
}

}  // namespace
