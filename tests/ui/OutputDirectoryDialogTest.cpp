#include <optional>
#include <vector>

#include "DialogTestSupport.h"
#include "ui/OutputDirectoryDialog.h"

using namespace output_dir_ids;

using OutputDirectoryDialogTest = DialogTest;
using Answers = std::vector<std::optional<std::string>>;
using Dir = std::tuple<std::string, int32_t>;  // OutputDir, OutputDirMode

TEST_F(OutputDirectoryDialogTest, ChoiceAndPickedFolderAreStoredWithATrailingSlash)
{
    const Dir before{"/srv/default/", 8};
    const std::string fits = "/music/" + std::string(237, 'x');  // 245 bytes with its '/'
    const struct {
        const char* button;
        Answers answers;
        std::string shown;
        Dir stored;
        const char* leave = kAccept;
        const char* warning = nullptr;  // a part of the warning shown, if one is
        bool stays_open = false;
    } cases[] = {
        {kAsDefault, {}, "/srv/default/", {"/srv/default/", 1}},
        {kAsDefault, {"/home/user/Music"}, "/home/user/Music", {"/home/user/Music/", 1}},
        {kThisSessionOnly, {"/tmp/run"}, "/tmp/run", {"/tmp/run/", 0}},
        // A cancelled browser empties the box, which means beside the input.
        {kAsDefault, {"/data/mp3", std::nullopt}, "", {"", 0}},
        {kSameAsInput, {}, "", {"", 0}},
        {kThisSessionOnly, {"/tmp/run"}, "/tmp/run", before, kCancel},
        // Fix: a default folder longer than the INI file reads back came back
        // cut after a restart, so it is refused; for this run only any length goes.
        {kAsDefault, {fits}, fits, {fits + "/", 1}},
        {kAsDefault, {fits + "x"}, fits + "x", before, kAccept, "at most 245", true},
        {kThisSessionOnly, {fits + "x"}, fits + "x", {fits + "x/", 0}},
        // Fix: a line break in the path broke the INI file; the box keeps its folder.
        {kAsDefault, {"/music/new\nfolder"}, "/srv/default/", {"/srv/default/", 1}, kAccept,
         "control character"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        ResetToDefaults();
        settings.OutputDir = "/srv/default/";
        settings.OutputDirMode = MenuSwitch(true);
        std::vector<std::string> warnings;
        // Stands in for the folder browser, giving the answers in turn.
        auto browser = [answers = c.answers, run = std::size_t{0}](QWidget*, const std::string&) mutable {
            return answers.at(run++);
        };
        const WarningShower warn = [&](QWidget*, const std::string& text) { warnings.push_back(text); };
        OutputDirectoryDialog dialog(settings, nullptr, browser, warn);
        dialog.show();
        EXPECT_TRUE(Checked(dialog, kAsDefault)) << "any nonzero mode opens as the default folder";
        EXPECT_EQ(Child<QLineEdit>(dialog, kDirectory).text(), "/srv/default/");
        Click(dialog, c.button);
        for (std::size_t run = 0; run < c.answers.size(); ++run) Click(dialog, kBrowse);
        EXPECT_EQ(Child<QLineEdit>(dialog, kDirectory).text().toStdString(), c.shown);
        Click(dialog, c.leave);
        EXPECT_EQ(std::make_tuple(settings.OutputDir, Stored(settings.OutputDirMode)), c.stored);
        EXPECT_EQ(dialog.isVisible(), c.stays_open) << "a refused default leaves the dialog open for another choice";
        ASSERT_EQ(warnings.size(), c.warning ? 1u : 0u);
        EXPECT_TRUE(!c.warning || warnings[0].find(c.warning) != std::string::npos) << warnings[0];
    }
}
