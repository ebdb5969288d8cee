#include "ui/AboutDialog.h"

#include <QDialogButtonBox>
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

// Dialog units of the original layout, kept as proportions.
constexpr int kDialogWidth = 245;
constexpr int kOkWidth = 54;
constexpr int kOkHeight = 18;

}  // namespace

QString AboutDialog::buildText() {
    return tr("(%1 bit)Compiled: %2").arg(sizeof(void*) * CHAR_BIT).arg(QStringLiteral(__DATE__));
}

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner) {
    setWindowTitle(tr("About Quavermill"));
    SetDialogIcon(*this);
    auto* ok = new QPushButton(tr("OK"));
    ok->setObjectName(about_ids::kOk);
    ok->setDefault(true);
    ok->setMinimumSize(DialogUnitsX(*this, kOkWidth), DialogUnitsY(*this, kOkHeight));
    auto* buttons = new QDialogButtonBox;
    buttons->setCenterButtons(true);
    buttons->addButton(ok, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* dialogColumn = new QVBoxLayout(this);
    dialogColumn->addWidget(createFrame());
    dialogColumn->addWidget(buttons);
    setMinimumWidth(DialogUnitsX(*this, kDialogWidth));
    ok->setFocus();
}

QWidget* AboutDialog::createFrame() {
    auto* picture = new QLabel;
    picture->setObjectName(about_ids::kPicture);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setPixmap(QPixmap(kFirstFrameResource));
    picture->setAlignment(Qt::AlignCenter);
    picture->setAccessibleName(tr("The Quavermill badge"));
    // The build string goes inside the frame, under the note, where it can
    // be read.
    auto* build = new QLabel(buildText());
    build->setObjectName(about_ids::kBuild);
    build->setAlignment(Qt::AlignRight);

    auto* frame = new QGroupBox;
    auto* column = new QVBoxLayout(frame);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(picture);
    pictureRow->addStretch();
    column->addLayout(pictureRow);
    column->addWidget(new QLabel(tr("Note : To Decode an mp3 file, just drop them, there is no switch.")));
    column->addWidget(build);
    return frame;
}

void RunAboutDialog(QWidget* owner) {
    AboutDialog dialog(owner);
    dialog.exec();
}
