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
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace output_dir_ids {
inline constexpr const char* kSameAsInput = "id1023";
inline constexpr const char* kThisSessionOnly = "id1024";
inline constexpr const char* kAsDefault = "id1062";
inline constexpr const char* kDirectory = "id1025";
inline constexpr const char* kBrowse = "id1022";
inline constexpr const char* kAccept = "id1004";
inline constexpr const char* kCancel = "id2";
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
public:
    // Edits `settings` on Accept. Empty functions use the Qt dialogs above.
    explicit OutputDirectoryDialog(Settings& settings, QWidget* owner = nullptr, FolderPicker pickFolder = {},
                                   WarningShower showWarning = {});

    // Stores the choice and closes; a default folder too long for the INI
    // file is refused with a warning and the dialog stays open.
    void accept() override;

private:
    void BuildControls();
    void ShowStoredSettings();
    // Puts the picked folder into the box; a folder whose path holds a
    // control character is refused with a warning.
    void Browse();

    Settings& settings_;
    FolderPicker pick_folder_;
    WarningShower show_warning_;
    QRadioButton* same_as_input_ = nullptr;
    QRadioButton* this_session_only_ = nullptr;
    QRadioButton* as_default_ = nullptr;
    QLineEdit* directory_ = nullptr;
    QPushButton* browse_ = nullptr;
};
