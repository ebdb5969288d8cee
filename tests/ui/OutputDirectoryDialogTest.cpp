#include <vector>

#include "DialogTestSupport.h"
#include "ui/OutputDirectoryDialog.h"

using namespace output_dir_ids;

using OutputDirectoryDialogTest = DialogTest;
using Dir = std::tuple<std::string, int32_t>;  // OutputDir, OutputDirMode

TEST_F(OutputDirectoryDialogTest, ChoiceAndPickedFolderAreStoredWithATrailingSlash)
{
    const Dir before{"/srv/default/", 8};
    const std::string fits = "/music/" + std::string(237, 'x');  // 245 bytes with its '/'
    const struct {
        const char* button;  // none: left as it opened
        std::vector<std::string> answers;  // the folder browser's, in turn
        Dir stored;
        const char* leave = kAcceptButtonName;
        bool warned = false;
    } cases[] = {
        {nullptr, {}, {"/srv/default/", 1}},  // any nonzero mode opens as the default folder
        {kSameAsInput, {}, {"", 0}},
        {kThisSessionOnly, {"/tmp/run"}, before, kCancelButtonName},
        // Fix: a default folder longer than the INI file reads back came back
        // cut after a restart, so it is refused; for this run only any length goes.
        {kAsDefault, {fits}, {fits + "/", 1}},
        {kAsDefault, {fits + "x"}, before, kAcceptButtonName, true},
        {kThisSessionOnly, {fits + "x"}, {fits + "x/", 0}},
        // Fix: a line break in the path broke the INI file; the box keeps its folder.
        {kAsDefault, {"/music/new\nfolder"}, {"/srv/default/", 1}, kAcceptButtonName, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        ResetToDefaults();
        std::tie(settings.OutputDir, settings.OutputDirMode.Stored) = before;
        int warnings = 0;
        auto browser = [answers = c.answers, run = std::size_t{0}](QWidget*, const std::string&) mutable {
            return std::optional(answers.at(run++));
        };
        OutputDirectoryDialog dialog(settings, nullptr, browser, [&](QWidget*, const std::string&) { ++warnings; });
        if (c.button) Click(dialog, c.button);
        for (std::size_t run = 0; run < c.answers.size(); ++run) Click(dialog, kBrowse);
        Click(dialog, c.leave);
        EXPECT_EQ(std::make_tuple(settings.OutputDir, settings.OutputDirMode.Stored), c.stored);
        EXPECT_EQ(warnings, c.warned ? 1 : 0);
    }
}
