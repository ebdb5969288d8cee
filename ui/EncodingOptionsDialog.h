#pragma once
// The encoding options dialog: VBR quality slider or bitrate target, CBR,
// mono, engine quality and ReplayGain input scaling. Accept writes every
// field to the settings record and to the encode job's working copy; Cancel,
// Escape and the close box write nothing.

#include <QDialog>

#include <cstdint>

struct Settings;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class WrappedCheckBox;

// Object names of the controls, after their resource ids.
namespace encoding_ids {
inline constexpr const char* kQualityMode = "id1016";
inline constexpr const char* kBitrateMode = "id1068";
inline constexpr const char* kScale = "id1081";
inline constexpr const char* kSlider = "id1076";
inline constexpr const char* kVbrLevel = "id1078";
inline constexpr const char* kEstimate = "id1077";
inline constexpr const char* kBitrateLabel = "id1079";
inline constexpr const char* kBitrate = "id1074";
inline constexpr const char* kCbr = "id1075";
inline constexpr const char* kCbrLabel = "id1085";
inline constexpr const char* kCbrExplanation = "id1083";
inline constexpr const char* kEngineQuality = "id1070";
inline constexpr const char* kMono = "id1071";
inline constexpr const char* kTitleGain = "id1087";
inline constexpr const char* kAlbumGain = "id1088";
inline constexpr const char* kAccept = "id1020";
inline constexpr const char* kCancel = "id2";
}  // namespace encoding_ids

class EncodingOptionsDialog : public QDialog {
public:
    // Edits `settings` on Accept. `sliderPosition` is the VBR slider's
    // working position, which a cancelled dialog keeps for the next one.
    EncodingOptionsDialog(Settings& settings, int32_t& sliderPosition, QWidget* owner = nullptr);

    void accept() override;

private:
    void BuildControls();
    void ShowStoredSettings();
    void ShowSliderPosition(int32_t position);
    void EnableQualityControls(bool enabled);
    void EnableBitrateControls(bool enabled);
    void OnBitrateTextChanged();
    void OnCbrClicked(bool checked);
    int32_t BitrateBoxValue() const;

    Settings& settings_;
    int32_t& slider_position_;
    QRadioButton* quality_mode_ = nullptr;
    QRadioButton* bitrate_mode_ = nullptr;
    QLabel* scale_ = nullptr;
    QSlider* slider_ = nullptr;
    QLineEdit* vbr_level_ = nullptr;
    QLineEdit* estimate_ = nullptr;
    QLabel* bitrate_label_ = nullptr;
    QLineEdit* bitrate_ = nullptr;
    WrappedCheckBox* cbr_ = nullptr;
    QLabel* cbr_explanation_ = nullptr;
    QComboBox* engine_quality_ = nullptr;
    QCheckBox* mono_ = nullptr;
    WrappedCheckBox* title_gain_ = nullptr;
    WrappedCheckBox* album_gain_ = nullptr;
};
