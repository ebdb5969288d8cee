#include "ui/Utf8LimitValidator.h"

#include "settings/Settings.h"

Utf8LimitValidator::Utf8LimitValidator(std::size_t maxBytes, QObject* parent)
    : QValidator(parent), maxBytes_(maxBytes) {}

QValidator::State Utf8LimitValidator::validate(QString& input, int&) const {
    const std::string bytes = input.toStdString();
    return bytes.size() <= maxBytes_ && !HasControlCharacter(bytes) ? Acceptable : Invalid;
}
