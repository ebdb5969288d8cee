#include "ui/AboutDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>

#include "ui/DialogLook.h"
#include "ui/Dialogs.h"

namespace {

constexpr const char* kFirstFrameResource = ":/quavermill/frame0.png";
constexpr const char* kUsageNote = "Note : To Decode an mp3 file, just drop them, there is no switch.";

// Dialog units of the original layout, kept as proportions.
constexpr int kDialogWidth = 245;
constexpr int kOkWidth = 54;
constexpr int kOkHeight = 18;

}  // namespace

std::string AboutBuildString() { return "(" + std::to_string(sizeof(void*) * CHAR_BIT) + " bit)Compiled: " + __DATE__; }

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner) {
    setWindowTitle("About Quavermill");
    SetDialogIcon(*this);

    auto* picture = new QLabel;
    picture->setObjectName(about_ids::kPicture);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setPixmap(QPixmap(kFirstFrameResource));
    picture->setAlignment(Qt::AlignCenter);

    // The build string goes inside the frame, under the note, where it can
    // be read.
    auto* build = new QLabel(QString::fromStdString(AboutBuildString()));
    build->setObjectName(about_ids::kBuild);
    build->setAlignment(Qt::AlignRight);

    auto* frame = new QGroupBox;
    auto* frame_column = new QVBoxLayout(frame);
    auto* picture_row = new QHBoxLayout;
    picture_row->addWidget(picture);
    picture_row->addStretch();
    frame_column->addLayout(picture_row);
    frame_column->addWidget(new QLabel(kUsageNote));
    frame_column->addWidget(build);

    auto* ok = new QPushButton("OK");
    ok->setObjectName(about_ids::kOk);
    ok->setDefault(true);
    ok->setMinimumSize(DialogUnitsX(*this, kOkWidth), DialogUnitsY(*this, kOkHeight));

    auto* dialog_column = new QVBoxLayout(this);
    dialog_column->addWidget(frame);
    dialog_column->addWidget(ok, 0, Qt::AlignHCenter);
    setMinimumWidth(DialogUnitsX(*this, kDialogWidth));

    connect(ok, &QPushButton::clicked, this, &QDialog::reject);
    ok->setFocus();
}

void RunAboutDialog(QWidget* owner) {
    AboutDialog dialog(owner);
    dialog.exec();
}
