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
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace tagging_ids {
inline constexpr const char* kAutoTag = "autoTaggingCheckBox";
inline constexpr const char* kCopyComments = "copyCommentsCheckBox";
inline constexpr const char* kId3V1AndV2IfNeeded = "id3V1AndV2IfNeededRadio";
inline constexpr const char* kId3V1AndV2 = "id3V1AndV2Radio";
inline constexpr const char* kId3V1Only = "id3V1OnlyRadio";
inline constexpr const char* kId3V2Only = "id3V2OnlyRadio";
inline constexpr const char* kDefaultOptions = "defaultOptionsRadio";
inline constexpr const char* kCustomOptions = "customOptionsRadio";
inline constexpr const char* kGenre = "genreCombo";
inline constexpr const char* kYear = "yearBox";
inline constexpr const char* kArtist = "artistBox";
inline constexpr const char* kAlbum = "albumBox";
inline constexpr const char* kTitle = "titleBox";
}  // namespace tagging_ids

class TaggingSetupDialog : public QDialog {
    Q_OBJECT

public:
    // Edits `settings` on Accept.
    explicit TaggingSetupDialog(Settings& settings, QWidget* owner = nullptr);

    void accept() override;

private slots:
    void autoTaggingClicked(bool checked);
    void copyCommentsClicked(bool checked);
    void optionClicked(int tagMode);

private:
    QGroupBox* createSourceGroup();
    QGroupBox* createCustomGroup();
    QLayout* createId3Choices();
    QLayout* createFieldsForm();
    void connectControls();
    void showStoredSettings();
    void showStoredOptionChoice();
    // Unchecked and disabled: the options mean nothing without automatic tagging.
    void disableOptions();
    void enableCustomFields(bool enabled);

    Settings& settings_;
    QCheckBox* autoTag_ = nullptr;
    QCheckBox* copyComments_ = nullptr;
    QButtonGroup* id3Versions_ = nullptr;
    QButtonGroup* options_ = nullptr;
    QComboBox* genre_ = nullptr;
    QLineEdit* year_ = nullptr;
    QLineEdit* artist_ = nullptr;
    QLineEdit* album_ = nullptr;
    QLineEdit* title_ = nullptr;
};
