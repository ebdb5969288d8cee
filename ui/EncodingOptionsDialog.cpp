#include "ui/EncodingOptionsDialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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

// Marks for the slider's ends, in columns of ten characters; numbers only,
// so no language changes them.
constexpr const char* kScaleText =
    "0       10      20      30      40      50      60      70      80      90      100";
constexpr struct {
    EngineQualityChoice choice;
    const char* name;
} kEngineQualities[] = {
    {EngineQualityChoice::High, QT_TRANSLATE_NOOP("EncodingOptionsDialog", "High")},
    {EngineQualityChoice::Standard, QT_TRANSLATE_NOOP("EncodingOptionsDialog", "Standard")},
    {EngineQualityChoice::Fast, QT_TRANSLATE_NOOP("EncodingOptionsDialog", "Fast")},
};
constexpr int kSliderPageStep = 4;
constexpr int kBitrateTypedChars = 4;
constexpr int kEstimateChars = 25;

// Dialog units of the original layout, kept as proportions.
constexpr int kDialogWidth = 259;
constexpr int kVbrBoxWidth = 26;
constexpr int kBitrateBoxWidth = 21;
constexpr int kEstimateWidth = 84;
constexpr int kEngineListWidth = 52;
constexpr int kCbrExplanationHeight = 24;

QLineEdit* CreateReadOnlyBox(const char* name) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

QString EstimateText(int32_t kbps) { return EncodingOptionsDialog::tr("Approx. Bitrate %1 kbps").arg(kbps); }

QString CbrExplanationText(int32_t kbps) {
    return EncodingOptionsDialog::tr(
               "CBR encoding will use a bitrate of %1 kbps. L.A.M.E. will automatically resample input, where "
               "necessary, for low bitrates.")
        .arg(kbps);
}

}  // namespace

EncodingOptionsDialog::EncodingOptionsDialog(Settings& settings, int32_t& sliderPosition, QWidget* owner)
    : QDialog(owner), settings_(settings), sliderPosition_(sliderPosition) {
    setWindowTitle(tr("Quavermill Encoding Options"));
    SetDialogIcon(*this);
    auto* encoding = new QGroupBox(tr("Encoding Options"));
    auto* encodingColumn = new QVBoxLayout(encoding);
    encodingColumn->addWidget(createTargetGroup());
    encodingColumn->addLayout(createEngineRow());

    auto* dialogColumn = new QVBoxLayout(this);
    dialogColumn->addWidget(encoding);
    dialogColumn->addWidget(createScalingGroup());
    dialogColumn->addWidget(CreateAcceptCancelButtons(*this));
    setMinimumWidth(DialogUnitsX(*this, kDialogWidth));
    dialogColumn->setSizeConstraint(QLayout::SetMinimumSize);
    connectControls();
    showStoredSettings();
}

QGroupBox* EncodingOptionsDialog::createTargetGroup() {
    auto* qualityMode = new QRadioButton(tr("Quality"));
    qualityMode->setObjectName(encoding_ids::kQualityMode);
    auto* bitrateMode = new QRadioButton(tr("Bitrate"));
    bitrateMode->setObjectName(encoding_ids::kBitrateMode);
    targetModes_ = new QButtonGroup(this);
    // Each button's id is the SetBitrate value it stands for.
    targetModes_->addButton(qualityMode, static_cast<int>(TargetChoice::Quality));
    targetModes_->addButton(bitrateMode, static_cast<int>(TargetChoice::Bitrate));

    auto* target = new QGroupBox(tr("Target"));
    auto* column = new QVBoxLayout(target);
    column->addWidget(qualityMode);
    column->addWidget(createQualitySettings());
    column->addWidget(bitrateMode);
    column->addWidget(createBitrateSettings());
    return target;
}

QGroupBox* EncodingOptionsDialog::createQualitySettings() {
    scale_ = new QLabel(QString::fromLatin1(kScaleText));
    scale_->setObjectName(encoding_ids::kScale);
    scale_->setAlignment(Qt::AlignCenter);
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName(encoding_ids::kSlider);
    slider_->setRange(kSliderMin, kSliderMax);
    slider_->setPageStep(kSliderPageStep);
    slider_->setAccessibleName(tr("VBR quality"));
    slider_->setAccessibleDescription(tr("Left: smaller files, lower quality. Right: larger files, higher quality."));
    vbrLevel_ = CreateReadOnlyBox(encoding_ids::kVbrLevel);
    vbrLevel_->setFixedWidth(DialogUnitsX(*this, kVbrBoxWidth));
    estimate_ = CreateReadOnlyBox(encoding_ids::kEstimate);
    estimate_->setFrame(false);
    estimate_->setMaxLength(kEstimateChars);
    estimate_->setAccessibleName(tr("Approximate bitrate"));
    // Wide enough for the longest estimate whatever the font and language; a
    // line edit's own margins would otherwise cut its first letters.
    const QFontMetrics metrics = estimate_->fontMetrics();
    const int widest = metrics.horizontalAdvance(EstimateText(EstimateVbrBitrate(kSliderMax)));
    estimate_->setMinimumWidth(std::max(DialogUnitsX(*this, kEstimateWidth), widest + 4 * metrics.averageCharWidth()));

    auto* levelLabel = new QLabel(tr("VBR Quality - V"));
    levelLabel->setBuddy(vbrLevel_);
    auto* levelRow = new QHBoxLayout;
    levelRow->addStretch();
    levelRow->addWidget(levelLabel);
    levelRow->addWidget(vbrLevel_);
    levelRow->addStretch();
    auto* caption = new QLabel(tr("<------ Lower ----------- Quality/Bitrate ----------- Higher ------>"));
    caption->setAlignment(Qt::AlignCenter);

    auto* settings = new QGroupBox(tr("Settings"));
    auto* column = new QVBoxLayout(settings);
    column->addWidget(scale_);
    column->addWidget(slider_);
    column->addLayout(levelRow);
    column->addWidget(caption);
    column->addWidget(estimate_, 0, Qt::AlignHCenter);
    return settings;
}

QGroupBox* EncodingOptionsDialog::createBitrateSettings() {
    bitrateLabel_ = new QLabel(tr("Enter Target Bitrate:"));
    bitrateLabel_->setObjectName(encoding_ids::kBitrateLabel);
    bitrateLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bitrate_ = new QLineEdit;
    bitrate_->setObjectName(encoding_ids::kBitrate);
    bitrate_->setAlignment(Qt::AlignRight);
    bitrate_->setMaxLength(kBitrateTypedChars);
    bitrate_->setAccessibleDescription(tr("Average bitrate in kbit/s, from 8 to 320"));
    bitrate_->setFixedWidth(DialogUnitsX(*this, kBitrateBoxWidth) + bitrate_->fontMetrics().averageCharWidth() * 2);
    bitrateLabel_->setBuddy(bitrate_);
    cbr_ = new WrappedCheckBox(tr("Restrict encoder to Constant Bitrate (CBR)"), this);
    cbr_->box()->setObjectName(encoding_ids::kCbr);
    cbr_->label()->setObjectName(encoding_ids::kCbrLabel);
    cbrExplanation_ = new QLabel;
    cbrExplanation_->setObjectName(encoding_ids::kCbrExplanation);
    cbrExplanation_->setAlignment(Qt::AlignCenter);
    cbrExplanation_->setWordWrap(true);
    cbrExplanation_->setMinimumHeight(DialogUnitsY(*this, kCbrExplanationHeight));

    auto* settings = new QGroupBox(tr("Settings"));
    auto* grid = new QGridLayout(settings);
    grid->addWidget(bitrateLabel_, 0, 0);
    grid->addWidget(bitrate_, 0, 1);
    grid->addWidget(cbr_, 0, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(2, 4);
    grid->addWidget(cbrExplanation_, 1, 0, 1, 3);
    return settings;
}

QLayout* EncodingOptionsDialog::createEngineRow() {
    engineQuality_ = new QComboBox;
    engineQuality_->setObjectName(encoding_ids::kEngineQuality);
    engineQuality_->setMinimumWidth(DialogUnitsX(*this, kEngineListWidth));
    // Each item carries the Quality value it stands for.
    for (const auto& quality : kEngineQualities) engineQuality_->addItem(tr(quality.name), int(quality.choice));
    mono_ = new QCheckBox(tr("Mono Encoding"));
    mono_->setObjectName(encoding_ids::kMono);

    auto* form = new QFormLayout;
    form->addRow(tr("Encoding Engine Quality:"), engineQuality_);
    auto* row = new QHBoxLayout;
    row->addLayout(form);
    row->addStretch();
    row->addWidget(mono_);
    return row;
}

QGroupBox* EncodingOptionsDialog::createScalingGroup() {
    titleGain_ = new WrappedCheckBox(tr("Use ogg/FLAC Title Gain Tag to Scale input automatically"), this);
    titleGain_->box()->setObjectName(encoding_ids::kTitleGain);
    albumGain_ = new WrappedCheckBox(tr("Use ogg/FLAC Album Gain Tag to Scale input automatically"), this);
    albumGain_->box()->setObjectName(encoding_ids::kAlbumGain);
    auto* note = new QLabel(tr("Checking one of these boxes automatically selects to Copy oggvorbis/FLAC Tags"));
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);

    auto* scaling = new QGroupBox(tr("Input Scaling"));
    auto* grid = new QGridLayout(scaling);
    grid->addWidget(titleGain_, 0, 0);
    grid->addWidget(albumGain_, 0, 1);
    grid->addWidget(note, 1, 0, 1, 2);
    return scaling;
}

void EncodingOptionsDialog::connectControls() {
    connect(targetModes_, &QButtonGroup::idClicked, this, &EncodingOptionsDialog::showTargetMode);
    connect(slider_, &QSlider::valueChanged, this, &EncodingOptionsDialog::showSliderPosition);
    connect(bitrate_, &QLineEdit::textChanged, this, &EncodingOptionsDialog::cleanBitrateText);
    connect(cbr_->box(), &QCheckBox::clicked, this, &EncodingOptionsDialog::showCbrExplanation);
    // The two gains exclude each other.
    connect(titleGain_->box(), &QCheckBox::clicked, this, [this](bool checked) {
        if (checked) albumGain_->box()->setChecked(false);
    });
    connect(albumGain_->box(), &QCheckBox::clicked, this, [this](bool checked) {
        if (checked) titleGain_->box()->setChecked(false);
    });
}

void EncodingOptionsDialog::showStoredSettings() {
    const Settings& settings = settings_;
    // The target switch reads as on only when 1, as the encoder reads it: an
    // edited SetBitrate=8 encodes VBR, so it must show (and an unchanged
    // Accept must keep) the quality mode.
    const TargetChoice mode =
        settings.SetBitrate == TargetChoice::Bitrate ? TargetChoice::Bitrate : TargetChoice::Quality;
    targetModes_->button(static_cast<int>(mode))->setChecked(true);
    cbr_->box()->setChecked(settings.SetCBR == BitrateKindChoice::Constant);
    showTargetMode(static_cast<int>(mode));

    // The stored number goes through the box's rules like typed text: above
    // 320 it shows as 320, a negative one as an empty box.
    bitrate_->setText(QString::number(settings.ABRBitrate));
    cbrExplanation_->setText(cbr_->box()->isChecked() ? CbrExplanationText(settings.CBRBitrate) : QString());

    // A position from an edited INI file is brought into range for good,
    // so the V shown always belongs to the stored position.
    sliderPosition_ = ClampSliderPosition(sliderPosition_);
    {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(sliderPosition_);
    }
    showSliderPosition(sliderPosition_);

    // The encoder takes any nonzero Mono as mono.
    mono_->setChecked(settings.Mono.On());
    // A value no item stands for selects none, and Accept then keeps it.
    engineQuality_->setCurrentIndex(engineQuality_->findData(static_cast<int>(settings.Quality)));
    titleGain_->box()->setChecked(settings.ScaleMode == ScaleModeChoice::TrackGain);
    albumGain_->box()->setChecked(settings.ScaleMode == ScaleModeChoice::AlbumGain);
}

void EncodingOptionsDialog::showTargetMode(int mode) {
    const bool quality = mode == static_cast<int>(TargetChoice::Quality);
    for (QWidget* control : std::initializer_list<QWidget*>{slider_, vbrLevel_, scale_, estimate_})
        control->setEnabled(quality);
    for (QWidget* control : std::initializer_list<QWidget*>{engineQuality_, bitrateLabel_, bitrate_, cbr_})
        control->setEnabled(!quality);
    cbrExplanation_->setEnabled(!quality && cbr_->box()->isChecked());
}

void EncodingOptionsDialog::showSliderPosition(int position) {
    sliderPosition_ = position;
    estimate_->setText(EstimateText(EstimateVbrBitrate(position)));
    vbrLevel_->setText(QString::fromStdString(FormatVbrLevel(position)));
}

void EncodingOptionsDialog::cleanBitrateText() {
    const std::string text = bitrate_->text().toStdString();
    bool capped = false;
    const std::string clean = CleanBitrateText(text, &capped);
    if (clean != text) {
        // The rewrite would re-enter this handler; the clean text is final.
        const QSignalBlocker quiet(bitrate_);
        bitrate_->setText(QString::fromStdString(clean));
        if (capped) bitrate_->selectAll();
    }
    if (cbr_->box()->isChecked()) showCbrExplanation();
}

void EncodingOptionsDialog::showCbrExplanation() {
    const bool checked = cbr_->box()->isChecked();
    cbrExplanation_->setEnabled(checked);
    cbrExplanation_->setText(checked ? CbrExplanationText(NearestLegalBitrate(bitrateBoxValue())) : QString());
}

int32_t EncodingOptionsDialog::bitrateBoxValue() const { return BitrateTextValue(bitrate_->text().toStdString()); }

void EncodingOptionsDialog::accept() {
    Settings& settings = settings_;
    settings.VBRQuality = sliderPosition_;
    settings.SetBitrate = static_cast<TargetChoice>(targetModes_->checkedId());
    settings.Mono = DialogSwitch(mono_->isChecked());
    settings.SetCBR = cbr_->box()->isChecked() ? BitrateKindChoice::Constant : BitrateKindChoice::Average;
    // An edited settings file's value that no item stands for stays as it
    // was, as the tagging dialog keeps its ID3 choice: it must never become
    // "no selection" (-1), which the encoder library would be given.
    if (const QVariant quality = engineQuality_->currentData(); quality.isValid())
        settings.Quality = static_cast<EngineQualityChoice>(quality.toInt());

    const int32_t target = std::max(bitrateBoxValue(), kMinBitrate);
    settings.CBRBitrate = NearestLegalBitrate(target);
    settings.ABRBitrate = target;

    const ScaleModeChoice scaleMode = titleGain_->box()->isChecked()   ? ScaleModeChoice::TrackGain
                                      : albumGain_->box()->isChecked() ? ScaleModeChoice::AlbumGain
                                                                       : ScaleModeChoice::None;
    settings.ScaleMode = scaleMode;
    settings.TagMode = TagModeForScaling(settings.TagMode, scaleMode);
    QDialog::accept();
}

void RunEncodingOptionsDialog(QWidget* owner, Settings& settings, int32_t& sliderPosition) {
    EncodingOptionsDialog dialog(settings, sliderPosition, owner);
    dialog.exec();
}
