#include "platform/runtime/runtime_error.h"

namespace rt {

RuntimeError::RuntimeError(int number, QString description, QString source)
    : std::runtime_error(description.toStdString()), number_(number), description_(std::move(description)),
      source_(std::move(source))
{
}

RuntimeError RuntimeError::standard(int number, QString source)
{
    return RuntimeError(number, standardDescription(number), std::move(source));
}

QString standardDescription(int number)
{
    switch (number) {
    case errInvalidCall:
        return QStringLiteral("Invalid procedure call or argument");
    case errOverflow:
        return QStringLiteral("Overflow");
    case errDivisionByZero:
        return QStringLiteral("Division by zero");
    case errTypeMismatch:
        return QStringLiteral("Type mismatch");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

} // namespace rt
