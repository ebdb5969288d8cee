#pragma once
// The about dialog: the first animation frame, a usage note and the build
// string. It reads and writes no settings.

#include <QDialog>

#include <string>

namespace about_ids {
inline constexpr const char* kPicture = "picture";
inline constexpr const char* kBuild = "id1073";
inline constexpr const char* kOk = "id2";
}  // namespace about_ids

// "(64 bit)Compiled: Dec  6 2026": the word size of this build and the date
// it was compiled, as the compiler writes __DATE__.
std::string AboutBuildString();

class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* owner = nullptr);
};
