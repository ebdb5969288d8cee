#include <gtest/gtest.h>

#include <clocale>
#include <vector>

#include "encode/EncoderConfig.h"
#include "job/OutputNaming.h"
#include "encode/TagAssembly.h"
#include "encode/Utf8ToLocal.h"
#include "support/Fixtures.h"

// The rows name only the settings they change; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

TEST(Utf8ToLocal, DecodesEverySequenceLengthAndReplacesWhatLatin1Lacks) {
    struct Case { const char* name; std::string utf8, latin1; bool fits; };
    const Case cases[] = {
        {"ascii", "Song 01", "Song 01", true},
        {"two-byte Latin-1", "Caf\xC3\xA9 \xC3\x9F", "Caf\xE9 \xDF", true},
        {"top of Latin-1", "\xC3\xBF", "\xFF", true},
        {"first character past Latin-1", "\xC4\x80", "?", false},
        {"three-byte euro sign", "5\xE2\x82\xAC", "5?", false},
        // One '?' for a four-byte character, and the bytes after it are not eaten as its tail.
        {"four-byte emoji", "a\xF0\x9F\x8E\xB5z", "a?z", false},
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
    // What Latin-1 cannot hold goes into ID3v2 as UTF-16 with a byte-order mark.
    EXPECT_EQ(Utf8ToUtf16ForTag("\xC3\xA9\xE6\x97\xA5\xF0\x9F\x8E\xB5"),
              (std::vector<unsigned short>{0xFEFF, 0x00E9, 0x65E5, 0xD83C, 0xDFB5, 0}));
    EXPECT_EQ(Utf8ToUtf16ForTag("a\x80"), (std::vector<unsigned short>{0xFEFF, 'a', 0xFFFD, 0}));
}

TEST(TagAssembly, PathNamesFillTheTemplatesAndTheEmptyFields) {
    // A file at the root has no folders to name.
    EXPECT_EQ(TagFieldsFromPath(SplitInputPath("/a.wav")),
              (std::vector<TagField>{{TagFrame::Artist, "", ""}, {TagFrame::Album, " ", " "},
                                     {TagFrame::Title, "a", "a"}}));
    const std::pair<std::string, std::string> cases[] = {
        {"%1 (live)", "01 Song (live)"}, {"%3", "Band"}, {"Best of %2", "Best of Record"},
        {"100%", "100"}, {"%4x", "4x"}, {"%%1", "01 Song"}, {"", ""},
    };
    const InputPathParts song = SplitInputPath("/Music/Band/Record/01 Song.wav");
    for (const auto& [pattern, expanded] : cases) EXPECT_EQ(ExpandTagTemplate(pattern, song), expanded) << pattern;
    // Names that are not UTF-8 are read as Latin-1, whether the stray byte ends the name or not.
    const InputPathParts latin1 = SplitInputPath("/M\xFCsic/B\xE4nd/Caf\xE9.wav");
    EXPECT_EQ(TagFieldsFromPath(latin1), (std::vector<TagField>{{TagFrame::Artist, "M\xFCsic", "M\xC3\xBCsic"},
                                                                {TagFrame::Album, "B\xE4nd", "B\xC3\xA4nd"},
                                                                {TagFrame::Title, "Caf\xE9", "Caf\xC3\xA9"}}));
    EXPECT_EQ(ExpandTagTemplate("%1 %2", latin1), "Caf\xC3\xA9 B\xC3\xA4nd");
}

// ID3v2.3's year frame takes four digits: a date that begins with a year gives that year, others pass as they are.
TEST(TagAssembly, ADateThatBeginsWithAYearGivesTheYearFrameItsFourDigits) {
    const std::pair<std::string, std::string> dates[] = {
        {"2001-05-17", "2001"}, {"2001", "2001"}, {"1999/2000", "1999"}, {"May 2001", "May 2001"}, {"99", "99"}};
    for (const auto& [date, year] : dates) {
        CommentList list;
        AppendComment(list, ("DATE=" + date).c_str());
        ReplayGains gains;
        const TagField expected{TagFrame::Year, year, year};
        EXPECT_EQ(TagFieldsFromComments(list, {}, true, false, gains), std::vector<TagField>{expected}) << date;
        EXPECT_EQ(TagFieldsFromTemplates({.Year = date}, {}).at(3), expected) << date;
    }
}

// Scaling once found no gains when automatic tagging was on; and a locale with a decimal comma (where
// installed) must not make "-6.02" read as -6.
TEST(TagAssembly, GainsAreReadForScalingWhateverTheTagSourceAndLocale) {
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    struct Case { int32_t autoTag, scaleMode; std::vector<const char*> comments; double track, album; };
    const std::vector<Case> cases = {
        {8, 1, {"TITLE=x", "REPLAYGAIN_TRACK_GAIN=-6.02 dB", "REPLAYGAIN_ALBUM_GAIN=-3"}, -6.02, -3.0},
        {8, 2, {"replaygain_track_gain=-3.50 dB", "RG_RADIO=+1.0"}, 1.0, 0.0},  // the later comment wins
        {0, 1, {"REPLAYGAIN_ALBUM_GAIN= 2.5e0dB", "RG_AUDIOPHILE=x"}, 0.0, 0.0},
        {0, 1, {"RG_AUDIOPHILE=-1.25"}, 0.0, -1.25},
        {0, 1, {"REPLAYGAIN_ALBUM_GAIN= 2.5e0dB"}, 0.0, 2.5},
        {0, 1, {"REPLAYGAIN_TRACK_GAIN=dB"}, 0.0, 0.0},
        {0, 1, {"REPLAYGAIN_TRACK_GAIN=+-3"}, 0.0, 0.0},
        {8, 0, {"REPLAYGAIN_TRACK_GAIN=-6.02 dB"}, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        CommentList list;
        for (const char* text : c.comments) AppendComment(list, text);
        const ReplayGains gains = AssembleTags(LameContext(lame_init()).get(),
                                               {.TagMode = TagModeChoice::Comments,
                                                .AutoTag = Switch{c.autoTag},
                                                .ScaleMode = ScaleModeChoice{c.scaleMode}},
                                               SplitInputPath("/a.wav"), list);
        EXPECT_DOUBLE_EQ(gains.Track, c.track) << c.comments[0];
        EXPECT_DOUBLE_EQ(gains.Album, c.album) << c.comments[0];
    }
    std::setlocale(LC_NUMERIC, "C");
}

TEST(EncoderConfig, SettingsBecomeTheLibrarysModeTargetAndQuality) {
    const int untouched = lame_get_quality(LameContext(lame_init()).get());
    // vbrQuality: VBR only, else 0; quality -1: no call was made; bitrate: CBR or ABR mean, else 0.
    struct Case { const char* name; Settings options; vbr_mode vbr; float vbrQuality; int quality, bitrate; };
    constexpr TargetChoice bitrate = TargetChoice::Bitrate;
    const Case cases[] = {
        {"slider 951", {.VBRQuality = 951}, vbr_mtrh, 0.5f, -1, 0},
        // A VBR target never passes the engine quality on.
        {"slider 101, fast", {.Quality = EngineQualityChoice::Fast, .VBRQuality = 101}, vbr_mtrh, 9.0f, -1, 0},
        {"CBR 192, high",
         {.SetBitrate = bitrate, .Quality = EngineQualityChoice::High, .SetCBR = BitrateKindChoice::Constant,
          .CBRBitrate = 192},
         vbr_off, 0, 2, 192},
        {"ABR 150, fast", {.SetBitrate = bitrate, .Quality = EngineQualityChoice::Fast, .ABRBitrate = 150}, vbr_abr, 0,
         7, 150},
        // Only 1 asks for a bitrate target.
        {"SetBitrate 8", {.SetBitrate = TargetChoice{8}, .ABRBitrate = 150}, vbr_mtrh, 2.0f, -1, 0},
        {"mono, default slider", {.Mono = DialogSwitch(true)}, vbr_mtrh, 2.0f, -1, 0},
    };
    for (const Case& c : cases) {
        LameContext context(lame_init());
        lame_t lame = context.get();
        ConfigureEncoder(lame, c.options);
        EXPECT_EQ(lame_get_mode(lame), c.options.Mono.On() ? MONO : JOINT_STEREO) << c.name;
        EXPECT_EQ(lame_get_VBR(lame), c.vbr) << c.name;
        EXPECT_EQ(lame_get_quality(lame), c.quality < 0 ? untouched : c.quality) << c.name;
        EXPECT_NEAR(c.vbr == vbr_mtrh ? lame_get_VBR_quality(lame) : 0.0f, c.vbrQuality, 0.002) << c.name;
        const int bitrate = c.vbr == vbr_off ? lame_get_brate(lame) : lame_get_VBR_mean_bitrate_kbps(lame);
        EXPECT_EQ(c.vbr == vbr_mtrh ? 0 : bitrate, c.bitrate) << c.name;
        EXPECT_EQ(lame_get_findReplayGain(lame), 1) << c.name;
    }
}

}  // namespace
