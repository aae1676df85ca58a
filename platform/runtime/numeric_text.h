#pragma once

#include "platform/runtime/decimal.h"

#include <QString>
#include <cstdint>

namespace rt {

// Numeric text in the user's locale: blanks around, an optional sign (the locale's negative sign or "+"),
// digits with the locale's decimal separator, an optional exponent "E"/"e" with sign.
bool IsNumeric(const QString& text);
// Text to double; throws RuntimeError(13) "Type mismatch" when the text is not numeric.
double CDbl(const QString& text);
// Classic integer conversions: round ties to even; RuntimeError(6) "Overflow" outside the type's range,
// RuntimeError(13) for text that is not numeric.
int16_t CInt(double value);
int16_t CInt(const QString& text);
int32_t CLng(double value);
int32_t CLng(const QString& text);
uint8_t CByte(double value);
// Classic number-to-text: up to 15 significant digits, no trailing zeros, the locale's separator and sign,
// exponent form "1.5E+20" / "1E-05" outside the plain range.
QString CStr(double value);
QString CStr(long long value);
// Every integer type, so that CStr(5) or CStr(int64_t) picks an exact overload.
QString CStr(int value);
QString CStr(long value);
QString CStr(unsigned value);
QString CStr(unsigned long value);
QString CStr(unsigned long long value);
QString CStr(const Decimal& value);
// Leading number of a text with "." as separator, ignoring blanks; 0 when none (classic Val; also "&H" hex).
// "&H"/"&O" literals are 16-bit two's complement up to &HFFFF ("&HFFFF" gives -1), 32-bit above; a literal
// beyond 32 bits or a number beyond the double range raises RuntimeError(6).
double Val(const QString& text);

} // namespace rt
