#include "ui/TaggingSetupDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "encode/Id3v1Genres.h"
#include "settings/Settings.h"
#include "ui/DialogLook.h"
#include "ui/Dialogs.h"
#include "ui/Utf8LimitValidator.h"

namespace {

constexpr const char* kHelpLines[] = {
    "For Artist, Album and Title:",         "%1 = Filename (Title)",          "%2 = Parent Directory (Album)",
    "%3 = Grand-Parent Directory (Artist)", "Or, you can use text literals.",
};

// Dialog units of the original layout, kept as proportions.
constexpr int kDialogWidth = 219;
constexpr int kGenreWidth = 92;
constexpr int kYearWidth = 29;
constexpr ButtonRowUnits kButtonRow{61, 22, 50, 9, true};

QLineEdit* MakeTextBox(const char* name, std::size_t maxBytes) {
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
    setWindowTitle("Tagging Setup Options");
    SetDialogIcon(*this);
    BuildControls();
    ShowStoredSettings();
}

void TaggingSetupDialog::BuildControls() {
    using namespace tagging_ids;

    auto_tag_ = new QCheckBox("Select Auto Tagging");
    auto_tag_->setObjectName(kAutoTag);
    copy_comments_ = new QCheckBox("Copy oggvorbis/FLAC Comments");
    copy_comments_->setObjectName(kCopyComments);

    id3_versions_ = new QButtonGroup(this);
    const struct {
        const char* name;
        const char* text;
    } id3_choices[] = {
        {kId3V1AndV2IfNeeded, "Add id3V1 tag and id3V2 tag if necessary (over 30 chars)"},
        {kId3V1AndV2, "Add id3V1 tag and ALWAYS add id3V2 tag"},
        {kId3V1Only, "Add id3V1 tag ONLY"},
        {kId3V2Only, "Add id3V2 tag ONLY"},
    };
    QRadioButton* id3_buttons[std::size(id3_choices)];
    for (std::size_t i = 0; i < std::size(id3_choices); ++i) {
        id3_buttons[i] = new QRadioButton(id3_choices[i].text);
        id3_buttons[i]->setObjectName(id3_choices[i].name);
        // The button's id is the id3Tag value it stands for.
        id3_versions_->addButton(id3_buttons[i], static_cast<int>(i));
    }

    default_options_ = new QRadioButton("Default Options");
    default_options_->setObjectName(kDefaultOptions);
    custom_options_ = new QRadioButton("Custom Options");
    custom_options_->setObjectName(kCustomOptions);
    options_ = new QButtonGroup(this);
    options_->addButton(default_options_);
    options_->addButton(custom_options_);

    genre_ = new QComboBox;
    genre_->setObjectName(kGenre);
    genre_->setEditable(true);
    genre_->setInsertPolicy(QComboBox::NoInsert);
    genre_->setValidator(new Utf8LimitValidator(kTagTextLimit, genre_));
    // No completion: a typed genre that begins like a listed one ("Hard" and
    // "Hard Rock") must be stored as typed, not as the list's name.
    genre_->setCompleter(nullptr);
    genre_->setMinimumWidth(DialogUnitsX(*this, kGenreWidth));
    year_ = MakeTextBox(kYear, kYearTextLimit);
    year_->setFixedWidth(DialogUnitsX(*this, kYearWidth) + year_->fontMetrics().averageCharWidth() * 2);
    artist_ = MakeTextBox(kArtist, kTagTextLimit);
    album_ = MakeTextBox(kAlbum, kTagTextLimit);
    title_ = MakeTextBox(kTitle, kTagTextLimit);

    auto* source_frame = new QGroupBox;
    auto* source_row = new QHBoxLayout(source_frame);
    source_row->addWidget(auto_tag_);
    source_row->addStretch();
    source_row->addWidget(copy_comments_);

    auto* id3_grid = new QGridLayout;
    id3_grid->addWidget(id3_buttons[0], 0, 0, 1, 2);
    id3_grid->addWidget(id3_buttons[1], 1, 0, 1, 2);
    id3_grid->addWidget(id3_buttons[2], 2, 0);
    id3_grid->addWidget(id3_buttons[3], 2, 1);

    auto* options_frame = new QGroupBox;
    auto* options_row = new QHBoxLayout(options_frame);
    options_row->addWidget(default_options_, 1);
    options_row->addWidget(custom_options_, 1);

    auto* setup = new QGroupBox("Tagging Setup Options");
    auto* setup_column = new QVBoxLayout(setup);
    setup_column->addWidget(source_frame);
    setup_column->addLayout(id3_grid);
    setup_column->addWidget(options_frame);

    auto* fields_grid = new QGridLayout;
    fields_grid->addWidget(new QLabel("Genre:"), 0, 0, Qt::AlignRight);
    auto* genre_row = new QHBoxLayout;
    genre_row->addWidget(genre_, 1);
    genre_row->addSpacing(DialogUnitsX(*this, 8));
    genre_row->addWidget(new QLabel("Year:"));
    genre_row->addWidget(year_);
    fields_grid->addLayout(genre_row, 0, 1);
    fields_grid->addWidget(new QLabel("Artist:"), 1, 0, Qt::AlignRight);
    fields_grid->addWidget(artist_, 1, 1);
    fields_grid->addWidget(new QLabel("Album:"), 2, 0, Qt::AlignRight);
    fields_grid->addWidget(album_, 2, 1);
    fields_grid->addWidget(new QLabel("Title:"), 3, 0, Qt::AlignRight);
    fields_grid->addWidget(title_, 3, 1);

    auto* help_frame = new QGroupBox;
    auto* help_column = new QVBoxLayout(help_frame);
    for (const char* line : kHelpLines) help_column->addWidget(new QLabel(line));

    auto* custom = new QGroupBox("Custom Options");
    auto* custom_column = new QVBoxLayout(custom);
    custom_column->addLayout(fields_grid);
    custom_column->addWidget(help_frame, 0, Qt::AlignHCenter);

    QHBoxLayout* buttons = MakeAcceptCancelRow(*this, kAccept, kCancel, kButtonRow);

    auto* dialog_column = new QVBoxLayout(this);
    dialog_column->addWidget(setup);
    dialog_column->addWidget(custom);
    dialog_column->addLayout(buttons);
    setMinimumWidth(DialogUnitsX(*this, kDialogWidth));

    connect(auto_tag_, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked) {
            default_options_->setEnabled(true);
            custom_options_->setEnabled(true);
            ShowStoredOptionChoice();
        } else {
            // The options mean nothing without automatic tagging, and Accept
            // would drop what was typed into enabled custom fields; so they
            // go back to the disabled state the dialog opens with.
            UncheckOptions();
            default_options_->setEnabled(false);
            custom_options_->setEnabled(false);
            copy_comments_->setChecked(false);
            EnableCustomFields(false);
        }
    });
    connect(copy_comments_, &QCheckBox::clicked, this, [this](bool checked) {
        if (!checked) return;
        auto_tag_->setChecked(false);
        UncheckOptions();
        default_options_->setEnabled(false);
        custom_options_->setEnabled(false);
        EnableCustomFields(false);
    });
    connect(default_options_, &QRadioButton::clicked, this, [this](bool checked) {
        if (!checked) return;
        copy_comments_->setChecked(false);
        EnableCustomFields(false);
    });
    connect(custom_options_, &QRadioButton::clicked, this, [this](bool checked) {
        if (!checked) return;
        copy_comments_->setChecked(false);
        EnableCustomFields(true);
    });
}

void TaggingSetupDialog::ShowStoredSettings() {
    const Settings& settings = settings_;

    // While input scaling decides the tag mode, the encode job ignores the
    // option stored here, so the options are shown but cannot be changed.
    if (ScalingOn(settings.ScaleMode)) {
        UncheckOptions();
        default_options_->setEnabled(false);
        custom_options_->setEnabled(false);
    }

    // Any nonzero AutoTag is on, as the popup menu's check mark shows it.
    if (settings.AutoTag.On()) {
        auto_tag_->setChecked(true);
        ShowStoredOptionChoice();
    } else {
        auto_tag_->setChecked(false);
        copy_comments_->setChecked(settings.TagMode == TagModeChoice::Comments);
        UncheckOptions();
        default_options_->setEnabled(false);
        custom_options_->setEnabled(false);
        EnableCustomFields(false);
    }

    artist_->setText(QString::fromStdString(settings.Artist));
    album_->setText(QString::fromStdString(settings.Album));
    title_->setText(QString::fromStdString(settings.Title));
    year_->setText(QString::fromStdString(settings.Year));

    const QStringList genres = GenreBoxNames();
    genre_->addItems(genres);
    // Spelled exactly as listed, or the box opens empty.
    const int genre_index = static_cast<int>(genres.indexOf(QString::fromStdString(settings.Genre)));
    genre_->setCurrentIndex(genre_index);
    if (genre_index < 0) genre_->clearEditText();

    if (QAbstractButton* id3_button = id3_versions_->button(static_cast<int>(settings.id3Tag)))
        id3_button->setChecked(true);
}

void TaggingSetupDialog::ShowStoredOptionChoice() {
    const bool custom = settings_.TagMode == TagModeChoice::Custom;
    (custom ? custom_options_ : default_options_)->setChecked(true);
    copy_comments_->setChecked(false);
    EnableCustomFields(custom);
}

void TaggingSetupDialog::EnableCustomFields(bool enabled) {
    for (QWidget* field : {static_cast<QWidget*>(genre_), static_cast<QWidget*>(year_), static_cast<QWidget*>(artist_),
                           static_cast<QWidget*>(album_), static_cast<QWidget*>(title_)})
        field->setEnabled(enabled);
}

void TaggingSetupDialog::UncheckOptions() {
    // An exclusive group refuses to uncheck its last checked button.
    options_->setExclusive(false);
    default_options_->setChecked(false);
    custom_options_->setChecked(false);
    options_->setExclusive(true);
}

void TaggingSetupDialog::accept() {
    Settings& settings = settings_;

    if (auto_tag_->isChecked()) {
        settings.AutoTag = MenuSwitch(true);
        if (default_options_->isChecked()) {
            settings.TagMode = TagModeChoice::Default;
        } else if (custom_options_->isChecked()) {
            settings.TagMode = TagModeChoice::Custom;
            // With the list closed, typed text leaves no item selected, and
            // a selected item's name is the edit text: either way the edit
            // text is the genre.
            settings.Genre = Text(genre_->currentText(), kTagTextLimit);
            settings.Year = Text(year_->text(), kYearTextLimit);
            settings.Title = Text(title_->text(), kTagTextLimit);
            settings.Artist = Text(artist_->text(), kTagTextLimit);
            settings.Album = Text(album_->text(), kTagTextLimit);
        }
    } else {
        settings.AutoTag = MenuSwitch(false);
        settings.TagMode = copy_comments_->isChecked() ? TagModeChoice::Comments : TagModeChoice::Default;
    }

    if (const int id3_choice = id3_versions_->checkedId(); id3_choice >= 0) {
        settings.id3Tag = static_cast<Id3TagChoice>(id3_choice);
    }

    QDialog::accept();
}

void RunTaggingSetupDialog(QWidget* owner, Settings& settings) {
    TaggingSetupDialog dialog(settings, owner);
    dialog.exec();
}
