#include <QLabel>
#include <QRegularExpression>

#include "DialogTestSupport.h"
#include "ui/AboutDialog.h"

using namespace about_ids;
using AboutDialogTest = DialogTest;

TEST_F(AboutDialogTest, ShowsTheBuildStringAndChangesNothing)
{
    AboutDialog dialog;
    const QString build = Child<QLabel>(dialog, kBuild).text();
    // __DATE__ pads a one-digit day with a blank.
    const QRegularExpression form(
        R"(^\((32|64) bit\)Compiled: (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123]\d \d{4}$)");
    EXPECT_TRUE(form.match(build).hasMatch()) << build.toStdString();
    EXPECT_TRUE(build.startsWith(sizeof(void*) == 8 ? "(64 bit)" : "(32 bit)"));
    Click(dialog, kOk);
    EXPECT_EQ(CurrentSettings(), Settings{});
}
