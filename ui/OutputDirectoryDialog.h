#pragma once
// The output directory dialog: converted files go beside their input, or to
// a folder picked here for this run only or as the default for later runs.
// Accept writes OutputDir and OutputDirMode; Cancel, Escape
// and the close box write nothing.

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

struct Settings;
class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace output_dir_ids {
inline constexpr const char* kSameAsInput = "sameAsInputRadio";
inline constexpr const char* kThisSessionOnly = "thisSessionOnlyRadio";
inline constexpr const char* kAsDefault = "asDefaultRadio";
inline constexpr const char* kDirectory = "outputDirectoryBox";
inline constexpr const char* kBrowse = "browseButton";
}  // namespace output_dir_ids

// Runs a folder browser opening at `startDir`; the picked folder's path, or
// nothing when the user cancels.
using FolderPicker = std::function<std::optional<std::string>(QWidget* parent, const std::string& startDir)>;
// Shows a warning the user must read before going on.
using WarningShower = std::function<void(QWidget* parent, const std::string& text)>;

// The Qt directory dialog titled "Select Output Directory".
std::optional<std::string> PickFolderWithQt(QWidget* parent, const std::string& startDir);
void ShowWarningWithQt(QWidget* parent, const std::string& text);

class OutputDirectoryDialog : public QDialog {
    Q_OBJECT

public:
    // Edits `settings` on Accept. Empty functions use the Qt dialogs above.
    explicit OutputDirectoryDialog(Settings& settings, QWidget* owner = nullptr, FolderPicker pickFolder = {},
                                   WarningShower showWarning = {});

    // Stores the choice and closes; a default folder too long for the INI
    // file is refused with a warning and the dialog stays open.
    void accept() override;

private slots:
    void choiceClicked(int choice);
    // Puts the picked folder into the box; a folder whose path holds a
    // control character is refused with a warning.
    void browse();

private:
    QLayout* createChoices();
    QLayout* createDirectoryRow();
    void showStoredSettings();

    Settings& settings_;
    FolderPicker pickFolder_;
    WarningShower showWarning_;
    QButtonGroup* choices_ = nullptr;
    QLineEdit* directory_ = nullptr;
    QPushButton* browse_ = nullptr;
};
