#include "ui/TaggingSetupDialog.h"

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
#include <QVBoxLayout>

#include "encode/Id3v1Genres.h"
#include "settings/Settings.h"
#include "ui/DialogLook.h"
#include "ui/Dialogs.h"
#include "ui/Utf8LimitValidator.h"

namespace {

constexpr const char* kHelpLines[] = {
    QT_TRANSLATE_NOOP("TaggingSetupDialog", "For Artist, Album and Title:"),
    QT_TRANSLATE_NOOP("TaggingSetupDialog", "%1 = Filename (Title)"),
    QT_TRANSLATE_NOOP("TaggingSetupDialog", "%2 = Parent Directory (Album)"),
    QT_TRANSLATE_NOOP("TaggingSetupDialog", "%3 = Grand-Parent Directory (Artist)"),
    QT_TRANSLATE_NOOP("TaggingSetupDialog", "Or, you can use text literals."),
};

// In the grid's order: two rows of one button, then a row of two.
constexpr struct {
    Id3TagChoice choice;
    const char* name;
    const char* text;
} kId3Choices[] = {
    {Id3TagChoice::V2IfNeeded, tagging_ids::kId3V1AndV2IfNeeded,
     QT_TRANSLATE_NOOP("TaggingSetupDialog", "Add id3V1 tag and id3V2 tag if necessary (over 30 chars)")},
    {Id3TagChoice::AlsoV2, tagging_ids::kId3V1AndV2,
     QT_TRANSLATE_NOOP("TaggingSetupDialog", "Add id3V1 tag and ALWAYS add id3V2 tag")},
    {Id3TagChoice::V1Only, tagging_ids::kId3V1Only, QT_TRANSLATE_NOOP("TaggingSetupDialog", "Add id3V1 tag ONLY")},
    {Id3TagChoice::V2Only, tagging_ids::kId3V2Only, QT_TRANSLATE_NOOP("TaggingSetupDialog", "Add id3V2 tag ONLY")},
};

// Dialog units of the original layout, kept as proportions.
constexpr int kDialogWidth = 219;
constexpr int kGenreWidth = 92;
constexpr int kYearWidth = 29;
constexpr int kYearGap = 8;

QLineEdit* CreateTextBox(const char* name, std::size_t maxBytes) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setValidator(new Utf8LimitValidator(maxBytes, box));
    return box;
}

std::string Text(const QString& text, std::size_t maxBytes) { return CutUtf8(text.toStdString(), maxBytes); }

// The names the tag step checks an ID3v1-only genre against, so a picked
// genre is never one it would replace; alphabetical, as a long list is
// searched by eye.
QStringList GenreBoxNames() {
    QStringList names;
    for (const std::string& name : Id3v1GenreNames()) {
        // The one name the encoder library supplies is empty when it has none.
        if (!name.empty()) names << QString::fromStdString(name);
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

}  // namespace

TaggingSetupDialog::TaggingSetupDialog(Settings& settings, QWidget* owner) : QDialog(owner), settings_(settings) {
    setWindowTitle(tr("Tagging Setup Options"));
    SetDialogIcon(*this);
    auto* dialogColumn = new QVBoxLayout(this);
    dialogColumn->addWidget(createSourceGroup());
    dialogColumn->addWidget(createCustomGroup());
    dialogColumn->addWidget(CreateAcceptCancelButtons(*this));
    setMinimumWidth(DialogUnitsX(*this, kDialogWidth));
    connectControls();
    showStoredSettings();
}

QGroupBox* TaggingSetupDialog::createSourceGroup() {
    autoTag_ = new QCheckBox(tr("Select Auto Tagging"));
    autoTag_->setObjectName(tagging_ids::kAutoTag);
    copyComments_ = new QCheckBox(tr("Copy oggvorbis/FLAC Comments"));
    copyComments_->setObjectName(tagging_ids::kCopyComments);
    auto* sourceFrame = new QGroupBox;
    auto* sourceRow = new QHBoxLayout(sourceFrame);
    sourceRow->addWidget(autoTag_);
    sourceRow->addStretch();
    sourceRow->addWidget(copyComments_);

    auto* defaultOptions = new QRadioButton(tr("Default Options"));
    defaultOptions->setObjectName(tagging_ids::kDefaultOptions);
    auto* customOptions = new QRadioButton(tr("Custom Options"));
    customOptions->setObjectName(tagging_ids::kCustomOptions);
    options_ = new QButtonGroup(this);
    // Each button's id is the TagMode value it stands for.
    options_->addButton(defaultOptions, static_cast<int>(TagModeChoice::Default));
    options_->addButton(customOptions, static_cast<int>(TagModeChoice::Custom));
    auto* optionsFrame = new QGroupBox;
    auto* optionsRow = new QHBoxLayout(optionsFrame);
    optionsRow->addWidget(defaultOptions, 1);
    optionsRow->addWidget(customOptions, 1);

    auto* setup = new QGroupBox(tr("Tagging Setup Options"));
    auto* column = new QVBoxLayout(setup);
    column->addWidget(sourceFrame);
    column->addLayout(createId3Choices());
    column->addWidget(optionsFrame);
    return setup;
}

QLayout* TaggingSetupDialog::createId3Choices() {
    id3Versions_ = new QButtonGroup(this);
    auto* grid = new QGridLayout;
    for (const auto& id3 : kId3Choices) {
        auto* button = new QRadioButton(tr(id3.text));
        button->setObjectName(id3.name);
        // The button's id is the id3Tag value it stands for.
        id3Versions_->addButton(button, static_cast<int>(id3.choice));
        const int row = static_cast<int>(&id3 - kId3Choices);
        if (row < 2)
            grid->addWidget(button, row, 0, 1, 2);
        else
            grid->addWidget(button, 2, row - 2);
    }
    return grid;
}

QLayout* TaggingSetupDialog::createFieldsForm() {
    genre_ = new QComboBox;
    genre_->setObjectName(tagging_ids::kGenre);
    genre_->setEditable(true);
    genre_->setInsertPolicy(QComboBox::NoInsert);
    genre_->setValidator(new Utf8LimitValidator(kTagTextLimit, genre_));
    // No completion: a typed genre that begins like a listed one ("Hard" and
    // "Hard Rock") must be stored as typed, not as the list's name.
    genre_->setCompleter(nullptr);
    genre_->setMinimumWidth(DialogUnitsX(*this, kGenreWidth));
    year_ = CreateTextBox(tagging_ids::kYear, kYearTextLimit);
    year_->setFixedWidth(DialogUnitsX(*this, kYearWidth) + year_->fontMetrics().averageCharWidth() * 2);
    artist_ = CreateTextBox(tagging_ids::kArtist, kTagTextLimit);
    album_ = CreateTextBox(tagging_ids::kAlbum, kTagTextLimit);
    title_ = CreateTextBox(tagging_ids::kTitle, kTagTextLimit);

    auto* yearLabel = new QLabel(tr("Year:"));
    yearLabel->setBuddy(year_);
    auto* genreRow = new QHBoxLayout;
    genreRow->addWidget(genre_, 1);
    genreRow->addSpacing(DialogUnitsX(*this, kYearGap));
    genreRow->addWidget(yearLabel);
    genreRow->addWidget(year_);
    auto* form = new QFormLayout;
    form->addRow(tr("Genre:"), genreRow);
    form->addRow(tr("Artist:"), artist_);
    form->addRow(tr("Album:"), album_);
    form->addRow(tr("Title:"), title_);
    genre_->setAccessibleName(tr("Genre"));
    genre_->setAccessibleDescription(tr("Pick a genre from the list, or type one"));
    for (QLineEdit* box : {artist_, album_, title_})
        box->setAccessibleDescription(
            tr("%1 is the file name, %2 the parent folder, %3 the grand-parent folder; "
               "other text is taken as it is"));
    return form;
}

QGroupBox* TaggingSetupDialog::createCustomGroup() {
    auto* helpFrame = new QGroupBox;
    auto* helpColumn = new QVBoxLayout(helpFrame);
    for (const char* line : kHelpLines) helpColumn->addWidget(new QLabel(tr(line)));

    auto* custom = new QGroupBox(tr("Custom Options"));
    auto* column = new QVBoxLayout(custom);
    column->addLayout(createFieldsForm());
    column->addWidget(helpFrame, 0, Qt::AlignHCenter);
    return custom;
}

void TaggingSetupDialog::connectControls() {
    connect(autoTag_, &QCheckBox::clicked, this, &TaggingSetupDialog::autoTaggingClicked);
    connect(copyComments_, &QCheckBox::clicked, this, &TaggingSetupDialog::copyCommentsClicked);
    connect(options_, &QButtonGroup::idClicked, this, &TaggingSetupDialog::optionClicked);
}

void TaggingSetupDialog::autoTaggingClicked(bool checked) {
    if (checked) {
        for (QAbstractButton* option : options_->buttons()) option->setEnabled(true);
        showStoredOptionChoice();
        return;
    }
    // Accept would drop what was typed into enabled custom fields; so they go
    // back to the disabled state the dialog opens with.
    disableOptions();
    copyComments_->setChecked(false);
    enableCustomFields(false);
}

void TaggingSetupDialog::copyCommentsClicked(bool checked) {
    if (!checked) return;
    autoTag_->setChecked(false);
    disableOptions();
    enableCustomFields(false);
}

void TaggingSetupDialog::optionClicked(int tagMode) {
    copyComments_->setChecked(false);
    enableCustomFields(tagMode == static_cast<int>(TagModeChoice::Custom));
}

void TaggingSetupDialog::showStoredSettings() {
    const Settings& settings = settings_;
    // While input scaling decides the tag mode, the encode job ignores the
    // option stored here, so the options are shown but cannot be changed.
    if (ScalingOn(settings.ScaleMode)) disableOptions();
    // Any nonzero AutoTag is on, as the popup menu's check mark shows it.
    autoTag_->setChecked(settings.AutoTag.On());
    if (settings.AutoTag.On()) {
        showStoredOptionChoice();
    } else {
        copyComments_->setChecked(settings.TagMode == TagModeChoice::Comments);
        disableOptions();
        enableCustomFields(false);
    }

    artist_->setText(QString::fromStdString(settings.Artist));
    album_->setText(QString::fromStdString(settings.Album));
    title_->setText(QString::fromStdString(settings.Title));
    year_->setText(QString::fromStdString(settings.Year));
    const QStringList genres = GenreBoxNames();
    genre_->addItems(genres);
    // Spelled exactly as listed, or the box opens empty.
    const int genreIndex = static_cast<int>(genres.indexOf(QString::fromStdString(settings.Genre)));
    genre_->setCurrentIndex(genreIndex);
    if (genreIndex < 0) genre_->clearEditText();
    if (QAbstractButton* id3 = id3Versions_->button(static_cast<int>(settings.id3Tag))) id3->setChecked(true);
}

void TaggingSetupDialog::showStoredOptionChoice() {
    const bool custom = settings_.TagMode == TagModeChoice::Custom;
    options_->button(static_cast<int>(custom ? TagModeChoice::Custom : TagModeChoice::Default))->setChecked(true);
    copyComments_->setChecked(false);
    enableCustomFields(custom);
}

void TaggingSetupDialog::enableCustomFields(bool enabled) {
    for (QWidget* field : std::initializer_list<QWidget*>{genre_, year_, artist_, album_, title_})
        field->setEnabled(enabled);
}

void TaggingSetupDialog::disableOptions() {
    // An exclusive group refuses to uncheck its last checked button.
    options_->setExclusive(false);
    for (QAbstractButton* option : options_->buttons()) {
        option->setChecked(false);
        option->setEnabled(false);
    }
    options_->setExclusive(true);
}

void TaggingSetupDialog::accept() {
    Settings& settings = settings_;
    settings.AutoTag = MenuSwitch(autoTag_->isChecked());
    if (!autoTag_->isChecked()) {
        settings.TagMode = copyComments_->isChecked() ? TagModeChoice::Comments : TagModeChoice::Default;
    } else if (const int option = options_->checkedId(); option >= 0) {
        settings.TagMode = static_cast<TagModeChoice>(option);
    }
    if (autoTag_->isChecked() && options_->checkedId() == static_cast<int>(TagModeChoice::Custom)) {
        // With the list closed, typed text leaves no item selected, and a
        // selected item's name is the edit text: either way the edit text is
        // the genre.
        settings.Genre = Text(genre_->currentText(), kTagTextLimit);
        settings.Year = Text(year_->text(), kYearTextLimit);
        settings.Title = Text(title_->text(), kTagTextLimit);
        settings.Artist = Text(artist_->text(), kTagTextLimit);
        settings.Album = Text(album_->text(), kTagTextLimit);
    }
    // A stored value no button stands for stays as it was.
    if (const int id3 = id3Versions_->checkedId(); id3 >= 0) settings.id3Tag = static_cast<Id3TagChoice>(id3);
    QDialog::accept();
}

void RunTaggingSetupDialog(QWidget* owner, Settings& settings) {
    TaggingSetupDialog dialog(settings, owner);
    dialog.exec();
}
