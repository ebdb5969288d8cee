#include "ui/OutputDirectoryDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
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

constexpr char kDirSeparator = '/';

// What each radio button stands for; only AsDefault survives a restart.
enum class OutputDirChoice : int { SameAsInput, ThisSessionOnly, AsDefault };

// Dialog units of the original layout, kept as proportions.
constexpr int kDialogWidth = 229;
constexpr int kLabelIndent = 12;
constexpr int kBrowseMargin = 12;

QString DialogTitle() { return OutputDirectoryDialog::tr("Output Directory Options"); }

QLabel* CreateNote(const QString& text, QWidget& dialog) {
    auto* note = new QLabel(text);
    note->setIndent(DialogUnitsX(dialog, kLabelIndent));
    return note;
}

QString ControlCharacterMessage() {
    return OutputDirectoryDialog::tr(
        "This folder's path holds a line break or another control character, which Quavermill cannot keep in "
        "its settings file.\n\nChoose another folder, or rename this one first.");
}

QString TooLongMessage(std::size_t length) {
    return OutputDirectoryDialog::tr(
               "This folder's path is too long to be kept as the default output directory: with the trailing "
               "'/' it takes %1 bytes, and Quavermill reads back at most %2 when it starts again.\n\nChoose a "
               "folder with a shorter path, or use this one for this session only.")
        .arg(length)
        .arg(kOutputDirLimit);
}

}  // namespace

std::optional<std::string> PickFolderWithQt(QWidget* parent, const std::string& startDir) {
    QFileDialog browser(parent, OutputDirectoryDialog::tr("Select Output Directory"),
                        QFile::decodeName(startDir.c_str()));
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    // A native dialog would not show the prompt.
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setLabelText(QFileDialog::LookIn, OutputDirectoryDialog::tr("Select a directory for output:"));
    if (browser.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList picked = browser.selectedFiles();
    return picked.isEmpty() ? std::string() : QFile::encodeName(picked.front()).toStdString();
}

void ShowWarningWithQt(QWidget* parent, const std::string& text) {
    QMessageBox::warning(parent, DialogTitle(), QString::fromStdString(text));
}

OutputDirectoryDialog::OutputDirectoryDialog(Settings& settings, QWidget* owner, FolderPicker pickFolder,
                                             WarningShower showWarning)
    : QDialog(owner),
      settings_(settings),
      pickFolder_(pickFolder ? std::move(pickFolder) : FolderPicker(PickFolderWithQt)),
      showWarning_(showWarning ? std::move(showWarning) : WarningShower(ShowWarningWithQt)) {
    setWindowTitle(DialogTitle());
    SetDialogIcon(*this);
    auto* frame = new QGroupBox(DialogTitle());
    auto* frameColumn = new QVBoxLayout(frame);
    frameColumn->addLayout(createChoices());
    frameColumn->addLayout(createDirectoryRow());

    auto* dialogColumn = new QVBoxLayout(this);
    dialogColumn->addWidget(frame);
    dialogColumn->addWidget(CreateAcceptCancelButtons(*this));
    setMinimumWidth(DialogUnitsX(*this, kDialogWidth));
    connect(choices_, &QButtonGroup::idClicked, this, &OutputDirectoryDialog::choiceClicked);
    connect(browse_, &QPushButton::clicked, this, &OutputDirectoryDialog::browse);
    showStoredSettings();
}

QLayout* OutputDirectoryDialog::createChoices() {
    const struct {
        OutputDirChoice choice;
        const char* name;
        QString text, note;
        int column;
    } buttons[] = {
        {OutputDirChoice::SameAsInput, output_dir_ids::kSameAsInput, tr("Same as Input Directory"),
         tr("STANDARD DEFAULT"), 0},
        {OutputDirChoice::ThisSessionOnly, output_dir_ids::kThisSessionOnly, tr("Set Other Output Directory"),
         tr("THIS SESSION ONLY"), 0},
        {OutputDirChoice::AsDefault, output_dir_ids::kAsDefault, tr("Set Other Output Directory"), tr("AS DEFAULT"), 1},
    };
    choices_ = new QButtonGroup(this);
    auto* grid = new QGridLayout;
    for (const auto& entry : buttons) {
        auto* button = new QRadioButton(entry.text);
        button->setObjectName(entry.name);
        // The two "Set Other" buttons read alike; the note beneath tells them apart.
        button->setAccessibleName(entry.text + QStringLiteral(", ") + entry.note);
        choices_->addButton(button, static_cast<int>(entry.choice));
        const int row = entry.choice == OutputDirChoice::SameAsInput ? 0 : 2;
        grid->addWidget(button, row, entry.column);
        grid->addWidget(CreateNote(entry.note, *this), row + 1, entry.column);
    }
    return grid;
}

QLayout* OutputDirectoryDialog::createDirectoryRow() {
    directory_ = new QLineEdit;
    directory_->setObjectName(output_dir_ids::kDirectory);
    directory_->setReadOnly(true);
    directory_->setAccessibleName(tr("Output directory"));
    directory_->setAccessibleDescription(tr("Where converted files go; empty means beside each input file"));
    browse_ = new QPushButton(QStringLiteral("..."));
    browse_->setObjectName(output_dir_ids::kBrowse);
    browse_->setAutoDefault(false);
    browse_->setAccessibleName(tr("Browse for a folder"));
    browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance(browse_->text()) +
                           DialogUnitsX(*this, kBrowseMargin));
    auto* row = new QHBoxLayout;
    row->addWidget(directory_, 1);
    row->addWidget(browse_);
    return row;
}

void OutputDirectoryDialog::showStoredSettings() {
    // Any nonzero mode makes OutputDir the default at start, so the dialog
    // shows it as such; showing "Same as Input Directory" instead would
    // silently drop the default on the next Accept.
    const bool asDefault = settings_.OutputDirMode.On();
    const OutputDirChoice choice = asDefault ? OutputDirChoice::AsDefault : OutputDirChoice::SameAsInput;
    choices_->button(static_cast<int>(choice))->setChecked(true);
    directory_->setText(asDefault ? QFile::decodeName(settings_.OutputDir.c_str()) : QString());
    browse_->setEnabled(asDefault);
}

void OutputDirectoryDialog::choiceClicked(int choice) {
    const bool sameAsInput = choice == static_cast<int>(OutputDirChoice::SameAsInput);
    if (sameAsInput) directory_->clear();
    browse_->setEnabled(!sameAsInput);
}

void OutputDirectoryDialog::browse() {
    // The browser starts at the directory in force, not at the box's.
    const std::optional<std::string> picked = pickFolder_(this, settings_.OutputDir);
    // Such a path would break its line of the INI file (and, cleaned there,
    // name another folder); the box keeps its folder, so Accept keeps the
    // setting as it was.
    if (picked && HasControlCharacter(*picked)) {
        showWarning_(this, ControlCharacterMessage().toStdString());
        return;
    }
    directory_->setText(QFile::decodeName(picked.value_or(std::string()).c_str()));
}

void OutputDirectoryDialog::accept() {
    const auto choice = static_cast<OutputDirChoice>(choices_->checkedId());
    std::string dir;
    bool asDefault = false;
    if (choice != OutputDirChoice::SameAsInput) {
        dir = QFile::encodeName(directory_->text()).toStdString();
        if (!dir.empty()) {
            if (dir.back() != kDirSeparator) dir += kDirSeparator;
            asDefault = choice == OutputDirChoice::AsDefault;
        }
    }
    // The INI file reads OutputDir back with at most 245 bytes; a longer
    // default would come back cut, and outputs would go to another folder.
    if (asDefault && dir.size() > kOutputDirLimit) {
        showWarning_(this, TooLongMessage(dir.size()).toStdString());
        return;
    }
    settings_.OutputDir = dir;
    settings_.OutputDirMode = DialogSwitch(asDefault);
    QDialog::accept();
}

void RunOutputDirectoryDialog(QWidget* owner, Settings& settings) {
    OutputDirectoryDialog dialog(settings, owner);
    dialog.exec();
}
