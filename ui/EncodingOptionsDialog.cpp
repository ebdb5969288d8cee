#include "ui/EncodingOptionsDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "settings/Settings.h"
#include "ui/BitrateRules.h"
#include "ui/DialogLook.h"
#include "ui/Dialogs.h"
#include "ui/WrappedCheckBox.h"

namespace {

constexpr const char* kScaleText =
    "0       10      20      30      40      50      60      70      80      90      100";
constexpr const char* kScaleCaption = "<------ Lower ----------- Quality/Bitrate ----------- Higher ------>";
constexpr const char* kBitrateLabelText = "Enter Target Bitrate:";
constexpr const char* kCbrLabelText = "Restrict encoder to Constant Bitrate (CBR)";
constexpr const char* kEngineQualityNames[] = {"High", "Standard", "Fast"};
constexpr int kSliderPageStep = 4;
constexpr int kBitrateTypedChars = 4;
constexpr int kEstimateChars = 25;

// Dialog units of the original layout, kept as proportions.
constexpr int kDialogWidth = 259;
constexpr int kVbrBoxWidth = 26;
constexpr int kBitrateBoxWidth = 21;
constexpr int kEstimateWidth = 84;
constexpr int kEngineListWidth = 52;
constexpr ButtonRowUnits kButtonRow{88, 22, 50, 13, true};
constexpr int kCbrExplanationHeight = 24;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

EncodingOptionsDialog::EncodingOptionsDialog(Settings& settings, int32_t& sliderPosition, QWidget* owner)
    : QDialog(owner), settings_(settings), slider_position_(sliderPosition) {
    setWindowTitle("Quavermill Encoding Options");
    SetDialogIcon(*this);
    BuildControls();
    ShowStoredSettings();
}

void EncodingOptionsDialog::BuildControls() {
    using namespace encoding_ids;

    quality_mode_ = new QRadioButton("Quality");
    quality_mode_->setObjectName(kQualityMode);
    bitrate_mode_ = new QRadioButton("Bitrate");
    bitrate_mode_->setObjectName(kBitrateMode);

    scale_ = new QLabel;
    scale_->setObjectName(kScale);
    scale_->setAlignment(Qt::AlignCenter);

    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName(kSlider);
    slider_->setRange(kSliderMin, kSliderMax);
    slider_->setSingleStep(1);
    slider_->setPageStep(kSliderPageStep);
    slider_->setTickPosition(QSlider::NoTicks);

    vbr_level_ = new QLineEdit;
    vbr_level_->setObjectName(kVbrLevel);
    vbr_level_->setReadOnly(true);
    vbr_level_->setFocusPolicy(Qt::NoFocus);
    vbr_level_->setAlignment(Qt::AlignCenter);
    vbr_level_->setFixedWidth(DialogUnitsX(*this, kVbrBoxWidth));

    estimate_ = new QLineEdit;
    estimate_->setObjectName(kEstimate);
    estimate_->setReadOnly(true);
    estimate_->setFrame(false);
    estimate_->setFocusPolicy(Qt::NoFocus);
    estimate_->setAlignment(Qt::AlignCenter);
    // Wide enough for the longest estimate whatever the font; a line edit's
    // own margins would otherwise cut its first letters.
    const QFontMetrics estimate_font = estimate_->fontMetrics();
    const int widest_estimate = estimate_font.horizontalAdvance(Q(EstimateText(EstimateVbrBitrate(kSliderMax))));
    estimate_->setMinimumWidth(
        std::max(DialogUnitsX(*this, kEstimateWidth), widest_estimate + 4 * estimate_font.averageCharWidth()));

    bitrate_label_ = new QLabel;
    bitrate_label_->setObjectName(kBitrateLabel);
    bitrate_label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    bitrate_ = new QLineEdit;
    bitrate_->setObjectName(kBitrate);
    bitrate_->setAlignment(Qt::AlignRight);
    bitrate_->setFixedWidth(DialogUnitsX(*this, kBitrateBoxWidth) + bitrate_->fontMetrics().averageCharWidth() * 2);

    cbr_ = new WrappedCheckBox(QString(), this);
    cbr_->box()->setObjectName(kCbr);
    cbr_->label()->setObjectName(kCbrLabel);

    cbr_explanation_ = new QLabel;
    cbr_explanation_->setObjectName(kCbrExplanation);
    cbr_explanation_->setAlignment(Qt::AlignCenter);
    cbr_explanation_->setWordWrap(true);
    cbr_explanation_->setMinimumHeight(DialogUnitsY(*this, kCbrExplanationHeight));

    engine_quality_ = new QComboBox;
    engine_quality_->setObjectName(kEngineQuality);
    engine_quality_->setMinimumWidth(DialogUnitsX(*this, kEngineListWidth));

    mono_ = new QCheckBox("Mono Encoding");
    mono_->setObjectName(kMono);

    title_gain_ = new WrappedCheckBox("Use ogg/FLAC Title Gain Tag to Scale input automatically", this);
    title_gain_->box()->setObjectName(kTitleGain);
    album_gain_ = new WrappedCheckBox("Use ogg/FLAC Album Gain Tag to Scale input automatically", this);
    album_gain_->box()->setObjectName(kAlbumGain);

    // Quality mode frame: scale, slider, V box, caption, estimate.
    auto* quality_settings = new QGroupBox("Settings");
    auto* quality_column = new QVBoxLayout(quality_settings);
    quality_column->addWidget(scale_);
    quality_column->addWidget(slider_);
    auto* level_row = new QHBoxLayout;
    level_row->addStretch();
    level_row->addWidget(new QLabel("VBR Quality - V"));
    level_row->addWidget(vbr_level_);
    level_row->addStretch();
    quality_column->addLayout(level_row);
    auto* caption = new QLabel(kScaleCaption);
    caption->setAlignment(Qt::AlignCenter);
    quality_column->addWidget(caption);
    quality_column->addWidget(estimate_, 0, Qt::AlignHCenter);

    // Bitrate mode frame: label, box, CBR box with its label, explanation.
    auto* bitrate_settings = new QGroupBox("Settings");
    auto* bitrate_grid = new QGridLayout(bitrate_settings);
    bitrate_grid->addWidget(bitrate_label_, 0, 0);
    bitrate_grid->addWidget(bitrate_, 0, 1);
    bitrate_grid->addWidget(cbr_, 0, 2);
    bitrate_grid->setColumnStretch(0, 3);
    bitrate_grid->setColumnStretch(2, 4);
    bitrate_grid->setColumnMinimumWidth(1, bitrate_->width());
    bitrate_grid->addWidget(cbr_explanation_, 1, 0, 1, 3);

    auto* target = new QGroupBox("Target");
    auto* target_column = new QVBoxLayout(target);
    target_column->addWidget(quality_mode_);
    target_column->addWidget(quality_settings);
    target_column->addWidget(bitrate_mode_);
    target_column->addWidget(bitrate_settings);

    auto* engine_row = new QHBoxLayout;
    engine_row->addWidget(new QLabel("Encoding Engine Quality:"));
    engine_row->addWidget(engine_quality_);
    engine_row->addStretch();
    engine_row->addWidget(mono_);

    auto* encoding = new QGroupBox("Encoding Options");
    auto* encoding_column = new QVBoxLayout(encoding);
    encoding_column->addWidget(target);
    encoding_column->addLayout(engine_row);

    auto* scaling = new QGroupBox("Input Scaling");
    auto* scaling_grid = new QGridLayout(scaling);
    scaling_grid->addWidget(title_gain_, 0, 0);
    scaling_grid->addWidget(album_gain_, 0, 1);
    auto* note = new QLabel("Checking one of these boxes automatically selects to Copy oggvorbis/FLAC Tags");
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    scaling_grid->addWidget(note, 1, 0, 1, 2);

    QHBoxLayout* buttons = MakeAcceptCancelRow(*this, kAccept, kCancel, kButtonRow);

    auto* dialog_column = new QVBoxLayout(this);
    dialog_column->addWidget(encoding);
    dialog_column->addWidget(scaling);
    dialog_column->addLayout(buttons);
    setMinimumWidth(DialogUnitsX(*this, kDialogWidth));

    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        slider_position_ = position;
        ShowSliderPosition(position);
    });
    connect(bitrate_, &QLineEdit::textChanged, this, [this] { OnBitrateTextChanged(); });
    connect(quality_mode_, &QRadioButton::clicked, this, [this] {
        bitrate_mode_->setChecked(false);
        EnableQualityControls(true);
        EnableBitrateControls(false);
        cbr_explanation_->setEnabled(false);
    });
    connect(bitrate_mode_, &QRadioButton::clicked, this, [this] {
        quality_mode_->setChecked(false);
        EnableQualityControls(false);
        EnableBitrateControls(true);
        cbr_explanation_->setEnabled(cbr_->box()->isChecked());
    });
    connect(cbr_->box(), &QCheckBox::clicked, this, [this](bool checked) { OnCbrClicked(checked); });
    connect(title_gain_->box(), &QCheckBox::clicked, this, [this](bool checked) {
        if (checked) album_gain_->box()->setChecked(false);
    });
    connect(album_gain_->box(), &QCheckBox::clicked, this, [this](bool checked) {
        if (checked) title_gain_->box()->setChecked(false);
    });
}

void EncodingOptionsDialog::ShowStoredSettings() {
    const Settings& settings = settings_;

    // The two target switches read as on only when 1, as the encoder reads
    // them: an edited SetBitrate=8 encodes VBR, so it must show (and an
    // unchanged Accept must keep) the quality mode.
    const bool bitrate_mode = settings.SetBitrate == TargetChoice::Bitrate;
    bitrate_mode_->setChecked(bitrate_mode);
    quality_mode_->setChecked(!bitrate_mode);
    EnableQualityControls(!bitrate_mode);
    EnableBitrateControls(bitrate_mode);
    cbr_explanation_->setEnabled(bitrate_mode);

    // The stored number goes through the box's rules like typed text: above
    // 320 it shows as 320, a negative one as an empty box.
    bitrate_->setMaxLength(kBitrateTypedChars);
    bitrate_->setText(QString::number(settings.ABRBitrate));

    bitrate_label_->setText(kBitrateLabelText);
    cbr_->label()->setText(kCbrLabelText);
    cbr_->box()->setAccessibleName(kCbrLabelText);
    scale_->setText(kScaleText);

    // A position from an edited INI file is brought into range for good,
    // so the V shown always belongs to the stored position.
    slider_position_ = ClampSliderPosition(slider_position_);
    const int32_t position = slider_position_;
    {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(position);
    }
    estimate_->setMaxLength(kEstimateChars);
    ShowSliderPosition(position);

    // The encoder takes any nonzero Mono as mono.
    mono_->setChecked(settings.Mono.On());

    if (settings.SetCBR == BitrateKindChoice::Constant) {
        cbr_->box()->setChecked(true);
        cbr_explanation_->setEnabled(bitrate_mode);
        cbr_explanation_->setText(Q(CbrExplanationText(settings.CBRBitrate)));
    } else {
        cbr_explanation_->clear();
    }

    for (const char* name : kEngineQualityNames) engine_quality_->addItem(name, QString(name));
    const int quality = static_cast<int>(settings.Quality);
    engine_quality_->setCurrentIndex(quality >= 0 && quality < engine_quality_->count() ? quality : -1);

    title_gain_->box()->setChecked(settings.ScaleMode == ScaleModeChoice::TrackGain);
    album_gain_->box()->setChecked(settings.ScaleMode == ScaleModeChoice::AlbumGain);
}

void EncodingOptionsDialog::ShowSliderPosition(int32_t position) {
    estimate_->setText(Q(EstimateText(EstimateVbrBitrate(position))));
    vbr_level_->setText(Q(FormatVbrLevel(position)));
}

void EncodingOptionsDialog::EnableQualityControls(bool enabled) {
    for (QWidget* control : {static_cast<QWidget*>(slider_), static_cast<QWidget*>(vbr_level_),
                             static_cast<QWidget*>(scale_), static_cast<QWidget*>(estimate_)})
        control->setEnabled(enabled);
}

void EncodingOptionsDialog::EnableBitrateControls(bool enabled) {
    for (QWidget* control : {static_cast<QWidget*>(engine_quality_), static_cast<QWidget*>(bitrate_label_),
                             static_cast<QWidget*>(bitrate_), static_cast<QWidget*>(cbr_)})
        control->setEnabled(enabled);
}

void EncodingOptionsDialog::OnBitrateTextChanged() {
    const std::string text = bitrate_->text().toStdString();
    bool capped = false;
    const std::string clean = CleanBitrateText(text, &capped);
    if (clean != text) {
        // The rewrite would re-enter this handler; the clean text is final.
        const QSignalBlocker quiet(bitrate_);
        bitrate_->setText(Q(clean));
        if (capped) bitrate_->selectAll();
    }
    if (cbr_->box()->isChecked())
        cbr_explanation_->setText(Q(CbrExplanationText(NearestLegalBitrate(BitrateBoxValue()))));
}

void EncodingOptionsDialog::OnCbrClicked(bool checked) {
    cbr_explanation_->setEnabled(checked);
    if (checked)
        cbr_explanation_->setText(Q(CbrExplanationText(NearestLegalBitrate(BitrateBoxValue()))));
    else
        cbr_explanation_->clear();
}

int32_t EncodingOptionsDialog::BitrateBoxValue() const { return BitrateTextValue(bitrate_->text().toStdString()); }

void EncodingOptionsDialog::accept() {
    Settings& settings = settings_;

    settings.VBRQuality = slider_position_;

    settings.SetBitrate = bitrate_mode_->isChecked() ? TargetChoice::Bitrate : TargetChoice::Quality;

    settings.Mono = DialogSwitch(mono_->isChecked());

    settings.SetCBR = cbr_->box()->isChecked() ? BitrateKindChoice::Constant : BitrateKindChoice::Average;

    settings.Quality = static_cast<EngineQualityChoice>(engine_quality_->currentIndex());

    const int32_t target = std::max(BitrateBoxValue(), kMinBitrate);
    settings.CBRBitrate = NearestLegalBitrate(target);
    settings.ABRBitrate = target;

    const ScaleModeChoice scale_mode = title_gain_->box()->isChecked()   ? ScaleModeChoice::TrackGain
                                       : album_gain_->box()->isChecked() ? ScaleModeChoice::AlbumGain
                                                                         : ScaleModeChoice::None;
    settings.ScaleMode = scale_mode;
    settings.TagMode = TagModeForScaling(settings.TagMode, scale_mode);

    QDialog::accept();
}

void RunEncodingOptionsDialog(QWidget* owner, Settings& settings, int32_t& sliderPosition) {
    EncodingOptionsDialog dialog(settings, sliderPosition, owner);
    dialog.exec();
}
