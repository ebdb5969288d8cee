#include <QComboBox>
#include <QSlider>

#include <cstdint>
#include <vector>

#include "DialogTestSupport.h"
#include "encode/EncoderConfig.h"
#include "settings/LegalBitrates.h"
#include "ui/EncodingOptionsDialog.h"

using namespace encoding_ids;
using EncodingOptionsDialogTest = DialogTest;

// The stored switches, clicks, bitrate typed, what Enter stores (SetBitrate, SetCBR, CBRBitrate,
// ABRBitrate, ScaleMode, TagMode), then the slider's start, a key pressed on it and its position.
TEST_F(EncodingOptionsDialogTest, EnterStoresWhatTheDialogShowsAndCancelOnlyKeepsTheSlider)
{
    const struct {
        int32_t set_bitrate, set_cbr, scale_mode, tag_mode;
        std::vector<const char*> clicks;
        const char* typed;
        std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t> stored;
        int32_t start = 801, position = 801;
        Qt::Key key = Qt::Key_Shift;  // moves nothing
        const char* leave = nullptr;  // none: Enter
    } cases[] = {
        // Fix: any nonzero SetBitrate or SetCBR showed as on, while the encoder takes
        // only 1; an unchanged Accept then switched a VBR encoder to ABR.
        {8, 1, 0, 0, {}, nullptr, {0, 1, 128, 128, 0, 0}},
        {1, 8, 0, 0, {}, nullptr, {1, 0, 128, 128, 0, 0}},
        // Typed text is read up to its first other character and capped at 320,
        // since the encoder takes a larger ABR target as one of its named presets;
        // CBR takes the legal rate nearest to it, at least 8 kbit/s.
        {0, 0, 0, 0, {kBitrateMode, kCbr}, "12a", {1, 1, 16, 12, 0, 0}},
        {0, 0, 0, 0, {kBitrateMode}, "1000", {1, 0, 320, 320, 0, 0}},
        {0, 0, 0, 0, {kBitrateMode}, "", {1, 0, 8, 8, 0, 0}},
        // The gain boxes exclude each other and make the tags copied; unchecking leaves the tag mode.
        {0, 0, 0, 1, {kAlbumGain, kTitleGain}, nullptr, {0, 0, 128, 128, 1, 2}},
        {0, 0, 2, 1, {kAlbumGain}, nullptr, {0, 0, 128, 128, 0, 1}},
        // Cancel stores nothing but keeps the slider's position; a start out of
        // range, as an edited INI file gives, is corrected for good.
        {0, 0, 0, 0, {kBitrateMode, kCbr, kMono, kTitleGain}, "64", {0, 0, 128, 128, 0, 0}, 801, 800, Qt::Key_Left,
         kCancelButtonName},
        {0, 0, 0, 0, {}, nullptr, {0, 0, 128, 128, 0, 0}, 5000, 1001, Qt::Key_Shift, kCancelButtonName},
        {0, 0, 0, 0, {}, nullptr, {0, 0, 128, 128, 0, 0}, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        ResetToDefaults();
        Settings& s = settings;
        s.SetBitrate = TargetChoice{c.set_bitrate};
        s.SetCBR = BitrateKindChoice{c.set_cbr};
        s.ScaleMode = ScaleModeChoice{c.scale_mode};
        s.TagMode = TagModeChoice{c.tag_mode};
        s.Mono = MenuSwitch(true);  // on for the encoder, as any nonzero value
        slider = c.start;
        EncodingOptionsDialog dialog(settings, slider);
        dialog.show();  // Enter reaches the default button of a shown dialog only
        QTest::keyClick(&Child<QSlider>(dialog, kSlider), c.key);
        // The V shown is the one the encoder will be given.
        EXPECT_NEAR(Child<QLineEdit>(dialog, kVbrLevel).text().toDouble(), VbrQualityForSlider(c.position), 1e-4);
        for (const char* name : c.clicks) Click(dialog, name);
        if (c.typed) RetypeText(Child<QLineEdit>(dialog, kBitrate), c.typed);
        if (c.leave) Click(dialog, c.leave);
        else QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_EQ(std::make_tuple(Stored(s.SetBitrate), Stored(s.SetCBR), s.CBRBitrate, s.ABRBitrate,
                                  Stored(s.ScaleMode), Stored(s.TagMode)),
                  c.stored);
        EXPECT_EQ(std::make_tuple(slider, s.VBRQuality, s.Mono.Stored),
                  c.leave ? std::make_tuple(c.position, 801, 8) : std::make_tuple(c.position, c.position, 1));
    }
}

// Fix: a Quality no item stands for, from an edited settings file, selected
// no item, and Accept stored -1, which reached the encoder library.
TEST_F(EncodingOptionsDialogTest, AcceptKeepsAnEngineQualityNoItemStandsFor)
{
    for (const auto& [stored, picked, expected] : {std::tuple{7, -1, 7}, {-3, -1, -3}, {1, -1, 1}, {7, 2, 2}}) {
        ResetToDefaults();
        settings.Quality = EngineQualityChoice{stored};
        EncodingOptionsDialog dialog(settings, slider);
        if (picked >= 0) Child<QComboBox>(dialog, kEngineQuality).setCurrentIndex(picked);
        Click(dialog, kAcceptButtonName);
        EXPECT_EQ(Stored(settings.Quality), expected) << "stored " << stored;
    }
}

// Ends the bitrate box cannot produce, but an edited settings file can.
TEST(NearestLegalBitrate, EndsOfTheTableAndOfTheIntegerRange)
{
    for (const auto& [in, out] : {std::pair{-7, 8}, {INT32_MIN, 8}, {INT32_MAX, 320}})
        EXPECT_EQ(NearestLegalBitrate(in), out) << "for " << in;
}
