// Writes a PNG of each dialog, as it opens with the default settings, into
// the folder given as the only argument. Run it under xvfb-run so the
// pictures show a real X11 style rather than the offscreen one.

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

#include "app/GuiResources.h"
#include "settings/Settings.h"
#include "ui/AboutDialog.h"
#include "ui/EncodingOptionsDialog.h"
#include "ui/OutputDirectoryDialog.h"
#include "ui/TaggingSetupDialog.h"

namespace {

bool Save(QDialog& dialog, const QDir& folder, const char* name)
{
    dialog.show();
    dialog.adjustSize();
    QApplication::processEvents();
    const bool saved = dialog.grab().save(folder.filePath(name), "PNG");
    if (!saved) std::fprintf(stderr, "cannot write %s\n", name);
    dialog.hide();
    return saved;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    InitGuiResources();
    Settings settings;
    int32_t sliderPosition = settings.VBRQuality;
    const QDir folder(QString::fromLocal8Bit(argv[1]));

    EncodingOptionsDialog encoding(settings, sliderPosition);
    TaggingSetupDialog tagging(settings);
    OutputDirectoryDialog output_dir(settings);
    AboutDialog about;
    const bool all_saved = Save(encoding, folder, "dialog-encoding-options.png") &&
                           Save(tagging, folder, "dialog-tagging-setup.png") &&
                           Save(output_dir, folder, "dialog-output-directory.png") &&
                           Save(about, folder, "dialog-about.png");
    return all_saved ? 0 : 1;
}
