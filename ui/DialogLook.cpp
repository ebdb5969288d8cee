#include "ui/DialogLook.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QIcon>
#include <QPushButton>
#include <QWidget>

namespace {
constexpr const char* kLargeIconResource = ":/quavermill/icon-128.png";
}

int DialogUnitsX(const QWidget& widget, int units) { return units * widget.fontMetrics().averageCharWidth() / 4; }

int DialogUnitsY(const QWidget& widget, int units) { return units * widget.fontMetrics().height() / 8; }

void SetDialogIcon(QWidget& dialog) {
    const QIcon icon(kLargeIconResource);
    if (!icon.isNull()) dialog.setWindowIcon(icon);
}

QDialogButtonBox* CreateAcceptCancelButtons(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(Qt::Horizontal, &dialog);
    buttons->setCenterButtons(true);
    QPushButton* accept =
        buttons->addButton(QCoreApplication::translate("DialogButtons", "Accept"), QDialogButtonBox::AcceptRole);
    accept->setObjectName(kAcceptButtonName);
    accept->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QCoreApplication::translate("DialogButtons", "Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(kCancelButtonName);
    cancel->setAutoDefault(false);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}
