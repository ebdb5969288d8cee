#pragma once
// A check box whose text wraps onto several lines. QCheckBox draws its text
// on one line only, which would make the dialogs far wider than their
// layout; here the text is a word-wrapping label beside a text-less box,
// and a click on the label toggles the box as a click on its text would.

#include <QWidget>

class QCheckBox;
class QLabel;

class WrappedCheckBox : public QWidget {
public:
    WrappedCheckBox(const QString& text, QWidget* parent);
    QCheckBox* box() const { return box_; }
    QLabel* label() const { return label_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCheckBox* box_;
    QLabel* label_;
};
