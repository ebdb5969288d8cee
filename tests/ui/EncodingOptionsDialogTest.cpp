#include <QSlider>

#include <vector>

#include "DialogTestSupport.h"
#include "encode/EncoderConfig.h"
#include "ui/EncodingOptionsDialog.h"

using namespace encoding_ids;
using EncodingOptionsDialogTest = DialogTest;

TEST_F(EncodingOptionsDialogTest, CancelKeepsOnlyTheSliderPositionWhichAcceptStores)
{
    // A start out of range, as an edited INI file gives, is corrected for good
    // even by a Cancel. (Shift moves nothing.)
    for (const auto& [start, key, position] : {std::tuple{801, Qt::Key_Left, 800}, {801, Qt::Key_End, 1001},
                                               {0, Qt::Key_Shift, 1}, {5000, Qt::Key_Shift, 1001}}) {
        ResetToDefaults();
        slider = start;
        {
            EncodingOptionsDialog dialog(settings, slider);
            QTest::keyClick(&Child<QSlider>(dialog, kSlider), key);
            // The V shown is the one the encoder will be given.
            EXPECT_NEAR(Child<QLineEdit>(dialog, kVbrLevel).text().toDouble(), VbrQualityForSlider(position), 1e-4);
            for (const char* name : {kBitrateMode, kCbr, kMono, kTitleGain}) Click(dialog, name);
            RetypeText(Child<QLineEdit>(dialog, kBitrate), "64");
            Click(dialog, kCancel);
        }
        EXPECT_EQ(slider, position);
        EXPECT_EQ(settings, Settings{});
        EncodingOptionsDialog again(settings, slider);
        Click(again, kAccept);
        EXPECT_EQ(settings.VBRQuality, position);
    }
}

// The stored switches, the clicks, the bitrate typed, and what Enter stores:
// SetBitrate, SetCBR, CBRBitrate, ABRBitrate, ScaleMode and TagMode.
TEST_F(EncodingOptionsDialogTest, EnterStoresWhatTheDialogShows)
{
    const struct {
        int32_t set_bitrate, set_cbr, scale_mode, tag_mode;
        std::vector<const char*> clicks;
        const char* typed;
        std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t> stored;
    } cases[] = {
        // Fix: the dialog showed any nonzero SetBitrate or SetCBR as on, while
        // the encoder takes only 1; an unchanged Accept then switched a VBR
        // encoder to ABR.
        {8, 1, 0, 0, {}, nullptr, {0, 1, 128, 128, 0, 0}},
        {1, 8, 0, 0, {}, nullptr, {1, 0, 128, 128, 0, 0}},
        // Typed text is cut at its first other character and capped at 320;
        // CBR takes the legal rate nearest to it, at least 8 kbit/s.
        {0, 0, 0, 0, {kBitrateMode, kCbr}, "12a", {1, 1, 16, 12, 0, 0}},
        {0, 0, 0, 0, {kBitrateMode, kCbr}, "1000", {1, 1, 320, 320, 0, 0}},
        {0, 0, 0, 0, {kBitrateMode}, "", {1, 0, 8, 8, 0, 0}},
        // The gain boxes exclude each other and make the tags copied; unchecking leaves the tag mode.
        {0, 0, 0, 0, {kTitleGain, kAlbumGain}, nullptr, {0, 0, 128, 128, 2, 2}},
        {0, 0, 0, 1, {kAlbumGain, kTitleGain}, nullptr, {0, 0, 128, 128, 1, 2}},
        {0, 0, 2, 1, {kAlbumGain}, nullptr, {0, 0, 128, 128, 0, 1}},
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
        EncodingOptionsDialog dialog(settings, slider);
        dialog.show();
        for (const char* name : c.clicks) Click(dialog, name);
        if (c.typed) RetypeText(Child<QLineEdit>(dialog, kBitrate), c.typed);
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_EQ(std::make_tuple(Stored(s.SetBitrate), Stored(s.SetCBR), s.CBRBitrate, s.ABRBitrate,
                                  Stored(s.ScaleMode), Stored(s.TagMode)),
                  c.stored);
        EXPECT_EQ(s.Mono.Stored, 1);
    }
}
