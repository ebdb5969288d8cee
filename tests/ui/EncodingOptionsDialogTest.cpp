#include <QLabel>
#include <QSlider>

#include <vector>

#include "DialogTestSupport.h"
#include "encode/EncoderConfig.h"
#include "ui/EncodingOptionsDialog.h"

using namespace encoding_ids;
using EncodingOptionsDialogTest = DialogTest;

TEST_F(EncodingOptionsDialogTest, CancelKeepsOnlyTheSliderPositionWhichAcceptStores)
{
    const struct {
        int32_t start, position;
        std::vector<Qt::Key> keys;
    } cases[] = {
        {801, 1001, {Qt::Key_End}},
        {801, 6, {Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}},
        // Out of range, as an edited INI file gives: corrected for good even by a Cancel.
        {0, 1, {}},
        {5000, 1001, {}},
    };
    for (const auto& c : cases) {
        ResetToDefaults();
        slider = c.start;
        {
            EncodingOptionsDialog dialog(settings, slider);
            for (Qt::Key key : c.keys) QTest::keyClick(&Child<QSlider>(dialog, kSlider), key);
            // The V shown is the one the encoder will be given.
            EXPECT_NEAR(Child<QLineEdit>(dialog, kVbrLevel).text().toDouble(), VbrQualityForSlider(c.position), 1e-4);
            for (const char* name : {kBitrateMode, kCbr, kMono, kTitleGain}) Click(dialog, name);
            RetypeText(Child<QLineEdit>(dialog, kBitrate), "64");
            Click(dialog, kCancel);
        }
        EXPECT_EQ(slider, c.position);
        EXPECT_EQ(settings, Settings{});
        EncodingOptionsDialog again(settings, slider);
        Click(again, kAccept);
        EXPECT_EQ(settings.VBRQuality, c.position);
    }
}

// The CBR rate is the legal one nearest the typed number, which stays the ABR target.
TEST_F(EncodingOptionsDialogTest, BitrateBoxRulesAndWhatEnterStores)
{
    const struct {
        const char *typed, *shown;
        bool cbr;  // else typed in bitrate mode, then accepted in quality mode
        int32_t cbr_kbps, abr_kbps;
    } cases[] = {{"12a", "12", true, 16, 12}, {"1000", "320", true, 320, 320}, {"", "", true, 8, 8},
                 {"77", "77", false, 80, 77}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ResetToDefaults();
        EncodingOptionsDialog dialog(settings, slider);
        dialog.show();
        Click(dialog, kBitrateMode);
        if (c.cbr) Click(dialog, kCbr);
        auto& box = Child<QLineEdit>(dialog, kBitrate);
        RetypeText(box, c.typed);
        EXPECT_EQ(box.text(), c.shown);
        EXPECT_EQ(Child<QLabel>(dialog, kCbrExplanation).text().contains(QString(" %1 kbps.").arg(c.cbr_kbps)), c.cbr);
        if (!c.cbr) Click(dialog, kQualityMode);
        QTest::keyClick(c.cbr ? static_cast<QWidget*>(&box) : &dialog, Qt::Key_Return);
        const Settings& s = settings;
        EXPECT_EQ(std::make_tuple(Stored(s.SetBitrate), Stored(s.SetCBR), s.CBRBitrate, s.ABRBitrate),
                  std::make_tuple(int32_t{c.cbr}, int32_t{c.cbr}, c.cbr_kbps, c.abr_kbps));
    }
}

// Fix: the dialog showed any nonzero SetBitrate or SetCBR as on, while the
// encoder takes only 1; an unchanged Accept then switched a VBR encoder to
// ABR. Mono is on when nonzero for both, and the menu stores it as 8.
TEST_F(EncodingOptionsDialogTest, SwitchesOpenAsTheEncoderReadsThem)
{
    for (const auto& [set_bitrate, set_cbr, bitrate_shown, cbr_shown] :
         {std::tuple{8, 1, false, true}, {1, 8, true, false}, {1, 1, true, true}}) {
        ResetToDefaults();
        Settings& s = settings;
        s.SetBitrate = TargetChoice{set_bitrate};
        s.SetCBR = BitrateKindChoice{set_cbr};
        s.Mono = MenuSwitch(true);
        EncodingOptionsDialog dialog(settings, slider);
        EXPECT_EQ(Checked(dialog, kBitrateMode), bitrate_shown);
        EXPECT_EQ(Checked(dialog, kCbr), cbr_shown);
        EXPECT_TRUE(Checked(dialog, kMono));
        Click(dialog, kAccept);
        EXPECT_EQ(std::make_tuple(Stored(s.SetBitrate), Stored(s.SetCBR), Stored(s.Mono)),
                  std::make_tuple(int32_t{bitrate_shown}, int32_t{cbr_shown}, 1));
    }
}

TEST_F(EncodingOptionsDialogTest, GainBoxesExcludeEachOtherAndSetTheTagMode)
{
    // Stored ScaleMode and TagMode, the clicks, then what Accept stores: unchecking leaves the tag mode.
    for (const auto& [scale_before, tag_before, first, second, scale_mode, tag_mode] :
         {std::tuple{0, 0, kTitleGain, kAlbumGain, 2, 2}, {0, 1, kAlbumGain, kTitleGain, 1, 2},
          {2, 1, kAlbumGain, nullptr, 0, 1}}) {
        ResetToDefaults();
        settings.ScaleMode = ScaleModeChoice{scale_before};
        settings.TagMode = TagModeChoice{tag_before};
        EncodingOptionsDialog dialog(settings, slider);
        Click(dialog, first);
        if (second) Click(dialog, second);
        Click(dialog, kAccept);
        const Settings& s = settings;
        EXPECT_EQ(std::make_tuple(Stored(s.ScaleMode), Stored(s.TagMode), Stored(s.AutoTag)),
                  std::make_tuple(scale_mode, tag_mode, 0));
    }
}
