#include <QComboBox>

#include <algorithm>
#include <vector>

#include "DialogTestSupport.h"
#include "encode/Id3v1Genres.h"
#include "ui/TaggingSetupDialog.h"

using namespace tagging_ids;

using TaggingSetupDialogTest = DialogTest;

// The stored AutoTag, TagMode and ScaleMode, the clicks, then whether the
// options can be chosen, and the AutoTag and TagMode Accept stores.
TEST_F(TaggingSetupDialogTest, TheTagSourceChoiceStoresItsAutoTagAndTagMode)
{
    const char* id3_buttons[] = {kId3V1AndV2IfNeeded, kId3V1AndV2, kId3V1Only, kId3V2Only};
    const struct {
        int32_t auto_before, mode_before, scale_mode;
        std::vector<const char*> clicks;
        bool options_enabled;
        int32_t auto_tag, tag_mode;
    } cases[] = {
        {0, 2, 0, {}, false, 0, 2},
        {0, 0, 0, {kAutoTag, kCustomOptions}, true, 8, 1},
        {8, 1, 0, {kCopyComments}, false, 0, 2},
        // Fix: options left enabled after unchecking let "Custom Options"
        // enable fields whose text Accept then drops.
        {8, 1, 0, {kAutoTag}, false, 0, 0},
        // Input scaling: the options open disabled, and Accept keeps the one shown.
        {8, 1, 2, {}, false, 8, 1},
    };
    for (const auto& c : cases) {
        const int32_t row = static_cast<int32_t>(&c - cases), id3 = row % 4;
        SCOPED_TRACE(testing::Message() << "row " << row);
        ResetToDefaults();
        Settings& s = settings;
        s.AutoTag = Switch{c.auto_before};
        s.TagMode = TagModeChoice{c.mode_before};
        s.ScaleMode = ScaleModeChoice{c.scale_mode};
        TaggingSetupDialog dialog(settings);
        for (const char* name : c.clicks) Click(dialog, name);
        EXPECT_EQ(Child(dialog, kCustomOptions).isEnabled(), c.options_enabled);
        Click(dialog, id3_buttons[id3]);
        Click(dialog, kAcceptButtonName);
        EXPECT_EQ(std::make_tuple(s.AutoTag.Stored, Stored(s.TagMode), Stored(s.id3Tag)),
                  std::tie(c.auto_tag, c.tag_mode, id3));
    }
}

TEST_F(TaggingSetupDialogTest, CustomOptionsStoreWhatWasTypedAndNothingElse)
{
    TaggingSetupDialog dialog(settings);
    // The run named .de has LANGUAGE=de, and stores the same as the English one.
    EXPECT_EQ(Child<QAbstractButton>(dialog, kAcceptButtonName).text(),
              qEnvironmentVariable("LANGUAGE") == QLatin1String("de") ? "Übernehmen" : "Accept");
    auto& genre = Child<QComboBox>(dialog, kGenre);
    // Fix: the box had its own list, spelled differently from the one the
    // tag step checks an ID3v1-only genre against.
    const auto& known = Id3v1GenreNames();
    for (int i = 0; i < genre.count(); ++i)
        EXPECT_NE(std::find(known.begin(), known.end(), genre.itemText(i).toStdString()), known.end()) << i;
    Click(dialog, kAutoTag);
    Click(dialog, kCustomOptions);
    // Fix: typing "Hard" must not be completed to the listed "Hard Rock".
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    genre.lineEdit()->setFocus();
    RetypeText(*genre.lineEdit(), "Hard");
    for (const auto& [name, text] : {std::pair{kArtist, "%3"}, {kAlbum, "%2 live"}, {kTitle, "%1"}})
        RetypeText(Child<QLineEdit>(dialog, name), text);
    // Fix: the year setting holds 31 bytes, not the 63 of the other texts.
    QTest::keyClicks(&Child<QLineEdit>(dialog, kYear), QString(40, '9'));
    EXPECT_EQ(Child<QLineEdit>(dialog, kYear).text(), QString(31, '9'));
    // Fix: a line break pasted into a text reached the INI file, where it
    // ended the line and the rest became a key line overriding the real one.
    for (QLineEdit* box : dialog.findChildren<QLineEdit*>())
        for (const char* pasted : {"\nOutputDir=/x", "\t", "\r", "\x7f"}) box->insert(pasted);
    Click(dialog, kAcceptButtonName);
    const Settings& s = settings;
    EXPECT_EQ((std::vector<std::string>{s.Genre, s.Year, s.Artist, s.Album, s.Title}),
              (std::vector<std::string>{"Hard", std::string(31, '9'), "%3", "%2 live", "%1"}));
}

