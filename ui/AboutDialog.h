#pragma once
// The about dialog: the first animation frame, a usage note and the build
// string. It reads and writes no settings.

#include <QDialog>

namespace about_ids {
inline constexpr const char* kPicture = "pictureLabel";
inline constexpr const char* kBuild = "buildLabel";
inline constexpr const char* kOk = "okButton";
}  // namespace about_ids

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* owner = nullptr);

    // "(64 bit)Compiled: Dec  6 2026": the word size of this build and the
    // date it was compiled, as the compiler writes __DATE__.
    static QString buildText();

private:
    QWidget* createFrame();
};
