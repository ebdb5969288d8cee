#pragma once
// The tagging setup dialog: where the ID3 tags of encoded files come from
// (automatic with default or custom options, the source's Vorbis/FLAC
// comments, or nothing) and which ID3 versions are written. Accept writes
// the settings record and the encode job's working copy; Cancel, Escape and
// the close box write nothing.

#include <QDialog>

struct Settings;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tagging_ids {
inline constexpr const char* kAutoTag = "id1091";
inline constexpr const char* kCopyComments = "id1086";
inline constexpr const char* kId3V1AndV2IfNeeded = "id1056";
inline constexpr const char* kId3V1AndV2 = "id1055";
inline constexpr const char* kId3V1Only = "id1066";
inline constexpr const char* kId3V2Only = "id1067";
inline constexpr const char* kDefaultOptions = "id1026";
inline constexpr const char* kCustomOptions = "id1027";
inline constexpr const char* kGenre = "id1030";
inline constexpr const char* kYear = "id1031";
inline constexpr const char* kArtist = "id1032";
inline constexpr const char* kAlbum = "id1034";
inline constexpr const char* kTitle = "id1033";
inline constexpr const char* kAccept = "id1028";
inline constexpr const char* kCancel = "id2";
}  // namespace tagging_ids

class TaggingSetupDialog : public QDialog {
public:
    // Edits `settings` on Accept.
    explicit TaggingSetupDialog(Settings& settings, QWidget* owner = nullptr);

    void accept() override;

private:
    void BuildControls();
    void ShowStoredSettings();
    void ShowStoredOptionChoice();
    void EnableCustomFields(bool enabled);
    void UncheckOptions();

    Settings& settings_;
    QCheckBox* auto_tag_ = nullptr;
    QCheckBox* copy_comments_ = nullptr;
    QButtonGroup* id3_versions_ = nullptr;
    QButtonGroup* options_ = nullptr;
    QRadioButton* default_options_ = nullptr;
    QRadioButton* custom_options_ = nullptr;
    QComboBox* genre_ = nullptr;
    QLineEdit* year_ = nullptr;
    QLineEdit* artist_ = nullptr;
    QLineEdit* album_ = nullptr;
    QLineEdit* title_ = nullptr;
};
