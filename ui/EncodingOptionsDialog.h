#pragma once
// The encoding options dialog: VBR quality slider or bitrate target, CBR,
// mono, engine quality and ReplayGain input scaling. Accept writes every
// field to the settings record and to the encode job's working copy; Cancel,
// Escape and the close box write nothing.

#include <QDialog>

#include <cstdint>

struct Settings;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class WrappedCheckBox;

// Object names of the controls.
namespace encoding_ids {
inline constexpr const char* kQualityMode = "qualityModeRadio";
inline constexpr const char* kBitrateMode = "bitrateModeRadio";
inline constexpr const char* kScale = "qualityScaleLabel";
inline constexpr const char* kSlider = "vbrQualitySlider";
inline constexpr const char* kVbrLevel = "vbrLevelBox";
inline constexpr const char* kEstimate = "bitrateEstimateBox";
inline constexpr const char* kBitrateLabel = "targetBitrateLabel";
inline constexpr const char* kBitrate = "targetBitrateBox";
inline constexpr const char* kCbr = "cbrCheckBox";
inline constexpr const char* kCbrLabel = "cbrLabel";
inline constexpr const char* kCbrExplanation = "cbrExplanationLabel";
inline constexpr const char* kEngineQuality = "engineQualityCombo";
inline constexpr const char* kMono = "monoCheckBox";
inline constexpr const char* kTitleGain = "titleGainCheckBox";
inline constexpr const char* kAlbumGain = "albumGainCheckBox";
}  // namespace encoding_ids

class EncodingOptionsDialog : public QDialog {
    Q_OBJECT

public:
    // Edits `settings` on Accept. `sliderPosition` is the VBR slider's
    // working position, which a cancelled dialog keeps for the next one.
    EncodingOptionsDialog(Settings& settings, int32_t& sliderPosition, QWidget* owner = nullptr);

    void accept() override;

private slots:
    void showTargetMode(int mode);
    void showSliderPosition(int position);
    void cleanBitrateText();
    void showCbrExplanation();

private:
    QGroupBox* createTargetGroup();
    QGroupBox* createQualitySettings();
    QGroupBox* createBitrateSettings();
    QLayout* createEngineRow();
    QGroupBox* createScalingGroup();
    void connectControls();
    void showStoredSettings();
    int32_t bitrateBoxValue() const;

    Settings& settings_;
    int32_t& sliderPosition_;
    QButtonGroup* targetModes_ = nullptr;
    QLabel* scale_ = nullptr;
    QSlider* slider_ = nullptr;
    QLineEdit* vbrLevel_ = nullptr;
    QLineEdit* estimate_ = nullptr;
    QLabel* bitrateLabel_ = nullptr;
    QLineEdit* bitrate_ = nullptr;
    WrappedCheckBox* cbr_ = nullptr;
    QLabel* cbrExplanation_ = nullptr;
    QComboBox* engineQuality_ = nullptr;
    QCheckBox* mono_ = nullptr;
    WrappedCheckBox* titleGain_ = nullptr;
    WrappedCheckBox* albumGain_ = nullptr;
};
