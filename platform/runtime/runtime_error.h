#pragma once

#include <QString>
#include <stdexcept>

namespace rt {

// A numbered error raised by a procedure: the number and description the user sees, and the procedure
// that raised it. The classic numbers are kept because callers and messages show them.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, QString description, QString source = {});
    // The error with its classic description ("Overflow" for 6, "Type mismatch" for 13, ...).
    static RuntimeError standard(int number, QString source = {});

    int number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const QString& source() const noexcept { return source_; }

private:
    int number_;
    QString description_;
    QString source_;
};

// The classic error numbers the system uses.
enum ErrorNumber : int {
    errInvalidCall = 5, // "Invalid procedure call or argument"
    errOverflow = 6,    // "Overflow"
    errDivisionByZero = 11,
    errTypeMismatch = 13,
};

// The classic description of an error number; a generic text for numbers the runtime does not know.
QString standardDescription(int number);

} // namespace rt
