#include "ui/WrappedCheckBox.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

WrappedCheckBox::WrappedCheckBox(const QString& text, QWidget* parent)
    : QWidget(parent), box_(new QCheckBox(this)), label_(new QLabel(text, this)) {
    box_->setAccessibleName(text);
    label_->setWordWrap(true);
    label_->installEventFilter(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(box_, 0, Qt::AlignTop);
    row->addWidget(label_, 1);
}

bool WrappedCheckBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label_ && event->type() == QEvent::MouseButtonRelease && box_->isEnabled() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        box_->click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
