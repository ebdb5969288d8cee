#include "ui/Utf8LimitValidator.h"

Utf8LimitValidator::Utf8LimitValidator(std::size_t maxBytes, QObject* parent)
    : QValidator(parent), max_bytes_(maxBytes)
{
}

QValidator::State Utf8LimitValidator::validate(QString& input, int&) const
{
    return static_cast<std::size_t>(input.toUtf8().size()) <= max_bytes_ ? Acceptable : Invalid;
}
