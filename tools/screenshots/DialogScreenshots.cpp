// Writes a PNG of each dialog, as it opens with the default settings, into
// the folder given as the first argument; a second argument is added to the
// file names ("-de"). The dialogs show the language LANGUAGE names. Run it
// under xvfb-run, or with the offscreen platform on the large screen of
// offscreen-screen.json: the default offscreen screen is so small that
// Qt would squeeze the larger dialogs to fit it.

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

#include "app/GuiResources.h"
#include "app/Translations.h"
#include "settings/Settings.h"
#include "ui/AboutDialog.h"
#include "ui/EncodingOptionsDialog.h"
#include "ui/OutputDirectoryDialog.h"
#include "ui/TaggingSetupDialog.h"

namespace {

bool Save(QDialog& dialog, const QDir& folder, const QString& name)
{
    dialog.show();
    dialog.adjustSize();
    QApplication::processEvents();
    const bool saved = dialog.grab().save(folder.filePath(name), "PNG");
    if (!saved) std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
    dialog.hide();
    return saved;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [NAME_SUFFIX]\n", argv[0]);
        return 2;
    }
    InitGuiResources();
    // LANGUAGE=de (and so on) shows a translation, to check it for clipped text.
    InstallTranslations(app);
    Settings settings;
    int32_t sliderPosition = settings.VBRQuality;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString suffix = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    const auto name = [&suffix](const char* base) { return QString::fromLatin1(base) + suffix + ".png"; };

    EncodingOptionsDialog encoding(settings, sliderPosition);
    TaggingSetupDialog tagging(settings);
    OutputDirectoryDialog output_dir(settings);
    AboutDialog about;
    const bool all_saved = Save(encoding, folder, name("dialog-encoding-options")) &&
                           Save(tagging, folder, name("dialog-tagging-setup")) &&
                           Save(output_dir, folder, name("dialog-output-directory")) &&
                           Save(about, folder, name("dialog-about"));
    return all_saved ? 0 : 1;
}
