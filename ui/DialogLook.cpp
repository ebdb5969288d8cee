#include "ui/DialogLook.h"

#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
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

QHBoxLayout* MakeAcceptCancelRow(QDialog& dialog, const char* acceptId, const char* cancelId,
                                 const ButtonRowUnits& units) {
    auto* accept_button = new QPushButton("Accept");
    accept_button->setObjectName(acceptId);
    accept_button->setDefault(true);
    accept_button->setMinimumSize(DialogUnitsX(dialog, units.acceptWidth), DialogUnitsY(dialog, units.acceptHeight));
    auto* cancel_button = new QPushButton("Cancel");
    cancel_button->setObjectName(cancelId);
    cancel_button->setAutoDefault(false);
    cancel_button->setMinimumWidth(DialogUnitsX(dialog, units.cancelWidth));
    QObject::connect(accept_button, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel_button, &QPushButton::clicked, &dialog, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(accept_button);
    if (units.gap > 0) row->addSpacing(DialogUnitsX(dialog, units.gap));
    row->addWidget(cancel_button, 0, Qt::AlignBottom);
    if (units.centred) row->addStretch(1);
    return row;
}
