#include <QLabel>

#include "DialogTestSupport.h"
#include "ui/AboutDialog.h"

using namespace about_ids;
using AboutDialogTest = DialogTest;

TEST_F(AboutDialogTest, ShowsTheWordSizeOfTheBuildAndChangesNothing)
{
    AboutDialog dialog;
    const QString build = Child<QLabel>(dialog, kBuild).text();
    EXPECT_TRUE(build.startsWith(sizeof(void*) == 8 ? "(64 bit)Compiled: " : "(32 bit)Compiled: ")) << build.toStdString();
    Click(dialog, kOk);
    EXPECT_EQ(settings, Settings{});
}
