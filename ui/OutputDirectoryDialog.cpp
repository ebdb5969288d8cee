#include "ui/OutputDirectoryDialog.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/Settings.h"
#include "ui/DialogLook.h"
#include "ui/Dialogs.h"

namespace {

constexpr const char* kDialogTitle = "Output Directory Options";
constexpr char kDirSeparator = '/';

// Dialog units of the original layout, kept as proportions.
constexpr int kDialogWidth = 229;
constexpr int kLabelIndent = 12;
constexpr ButtonRowUnits kButtonRow{57, 21, 50, 0, false};

QLabel* MakeNote(const char* text, QWidget& dialog) {
    auto* note = new QLabel(text);
    note->setIndent(DialogUnitsX(dialog, kLabelIndent));
    return note;
}

constexpr const char* kControlCharacterMessage =
    "This folder's path holds a line break or another control character, which Quavermill cannot keep in "
    "its settings file.\n\nChoose another folder, or rename this one first.";

std::string TooLongMessage(std::size_t length) {
    return "This folder's path is too long to be kept as the default output directory: with the trailing "
           "'/' it takes " +
           std::to_string(length) + " bytes, and Quavermill reads back at most " + std::to_string(kOutputDirLimit) +
           " when it starts again.\n\nChoose a folder with a shorter path, or use this one for this session "
           "only.";
}

}  // namespace

std::optional<std::string> PickFolderWithQt(QWidget* parent, const std::string& startDir) {
    QFileDialog browser(parent, "Select Output Directory", QString::fromStdString(startDir));
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    // A native dialog would not show the prompt.
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setLabelText(QFileDialog::LookIn, "Select a directory for output:");
    if (browser.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList picked = browser.selectedFiles();
    return picked.isEmpty() ? std::string() : picked.front().toStdString();
}

void ShowWarningWithQt(QWidget* parent, const std::string& text) {
    QMessageBox::warning(parent, kDialogTitle, QString::fromStdString(text));
}

OutputDirectoryDialog::OutputDirectoryDialog(Settings& settings, QWidget* owner, FolderPicker pickFolder,
                                             WarningShower showWarning)
    : QDialog(owner),
      settings_(settings),
      pick_folder_(pickFolder ? std::move(pickFolder) : FolderPicker(PickFolderWithQt)),
      show_warning_(showWarning ? std::move(showWarning) : WarningShower(ShowWarningWithQt)) {
    setWindowTitle(kDialogTitle);
    SetDialogIcon(*this);
    BuildControls();
    ShowStoredSettings();
}

void OutputDirectoryDialog::BuildControls() {
    using namespace output_dir_ids;

    same_as_input_ = new QRadioButton("Same as Input Directory");
    same_as_input_->setObjectName(kSameAsInput);
    this_session_only_ = new QRadioButton("Set Other Output Directory");
    this_session_only_->setObjectName(kThisSessionOnly);
    as_default_ = new QRadioButton("Set Other Output Directory");
    as_default_->setObjectName(kAsDefault);

    directory_ = new QLineEdit;
    directory_->setObjectName(kDirectory);
    directory_->setReadOnly(true);

    browse_ = new QPushButton("...");
    browse_->setObjectName(kBrowse);
    browse_->setAutoDefault(false);
    browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance("...") + DialogUnitsX(*this, 12));

    auto* choices = new QGridLayout;
    choices->addWidget(same_as_input_, 0, 0);
    choices->addWidget(MakeNote("STANDARD DEFAULT", *this), 1, 0);
    choices->addWidget(this_session_only_, 2, 0);
    choices->addWidget(MakeNote("THIS SESSION ONLY", *this), 3, 0);
    choices->addWidget(as_default_, 2, 1);
    choices->addWidget(MakeNote("AS DEFAULT", *this), 3, 1);

    auto* directory_row = new QHBoxLayout;
    directory_row->addWidget(directory_, 1);
    directory_row->addWidget(browse_);

    auto* frame = new QGroupBox(kDialogTitle);
    auto* frame_column = new QVBoxLayout(frame);
    frame_column->addLayout(choices);
    frame_column->addLayout(directory_row);

    QHBoxLayout* buttons = MakeAcceptCancelRow(*this, kAccept, kCancel, kButtonRow);

    auto* dialog_column = new QVBoxLayout(this);
    dialog_column->addWidget(frame);
    dialog_column->addLayout(buttons);
    setMinimumWidth(DialogUnitsX(*this, kDialogWidth));

    connect(same_as_input_, &QRadioButton::clicked, this, [this] {
        directory_->clear();
        browse_->setEnabled(false);
    });
    connect(this_session_only_, &QRadioButton::clicked, this, [this] { browse_->setEnabled(true); });
    connect(as_default_, &QRadioButton::clicked, this, [this] { browse_->setEnabled(true); });
    connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });
}

void OutputDirectoryDialog::ShowStoredSettings() {
    // Any nonzero mode makes OutputDir the default at start, so the dialog
    // shows it as such; showing "Same as Input Directory" instead would
    // silently drop the default on the next Accept.
    if (settings_.OutputDirMode.On()) {
        as_default_->setChecked(true);
        directory_->setText(QString::fromStdString(settings_.OutputDir));
        browse_->setEnabled(true);
    } else {
        same_as_input_->setChecked(true);
        directory_->clear();
        browse_->setEnabled(false);
    }
}

void OutputDirectoryDialog::Browse() {
    // The browser starts at the directory in force, not at the box's.
    const std::optional<std::string> picked = pick_folder_(this, settings_.OutputDir);
    // Such a path would break its line of the INI file (and, cleaned there,
    // name another folder); the box keeps its folder, so Accept keeps the
    // setting as it was.
    if (picked && HasControlCharacter(*picked)) {
        show_warning_(this, kControlCharacterMessage);
        return;
    }
    directory_->setText(QString::fromStdString(picked.value_or(std::string())));
}

void OutputDirectoryDialog::accept() {
    std::string dir;
    bool as_default = false;
    if (!same_as_input_->isChecked()) {
        dir = directory_->text().toStdString();
        if (!dir.empty()) {
            if (dir.back() != kDirSeparator) dir += kDirSeparator;
            as_default = as_default_->isChecked();
        }
    }

    // The INI file reads OutputDir back with at most 245 bytes; a longer
    // default would come back cut, and outputs would go to another folder.
    if (as_default && dir.size() > kOutputDirLimit) {
        show_warning_(this, TooLongMessage(dir.size()));
        return;
    }

    settings_.OutputDir = dir;
    settings_.OutputDirMode = DialogSwitch(as_default);

    QDialog::accept();
}

void RunOutputDirectoryDialog(QWidget* owner, Settings& settings) {
    OutputDirectoryDialog dialog(settings, owner);
    dialog.exec();
}
