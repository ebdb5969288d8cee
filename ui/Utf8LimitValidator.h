#pragma once
// Refuses any edit that would make a text box hold more UTF-8 bytes than the
// setting it is stored in, so what the user sees is what gets stored.
// (QLineEdit::setMaxLength counts UTF-16 units, not bytes.) It also refuses
// control characters, such as a line break pasted in: each setting is one
// line of the INI file.

#include <QValidator>

#include <cstddef>

class Utf8LimitValidator : public QValidator {
public:
    Utf8LimitValidator(std::size_t maxBytes, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    std::size_t maxBytes_;
};
