#pragma once

// modNumBase: conversions between the system's three number forms — bit strings ("0"/"1", most
// significant first), upper-case hexadecimal text and wide decimals. Registers, RAM words and tuning
// words of up to 64 bits (and anything up to 96 bits) convert without loss.
//
// Errors are rt::RuntimeError with the number, description and source the user sees; none is caught here.

#include "board/number_arg.h"
#include "platform/runtime/decimal.h"

#include <QString>

// Two's-complement bit string of exactly `width` characters (at most 96; a larger width gives 96).
// The value is truncated toward zero first; only its low `width` bits are kept. Width 0 gives "";
// a negative width raises error 5.
QString cbaseDec2Bin(const board::NumberArg& number, int width);

// Hexadecimal digits of a value that is not negative: 25 digits cut to the rightmost `width`, or
// zero-padded to `width` when it is larger. (A negative value gives its two's complement, padded with "F".)
QString cbaseDec2Hex(const board::NumberArg& number, int width);

// Hexadecimal digits without leading zeros ("0" for zero), zero-padded to `minimumWidth`; never cut.
// Text that is not numeric raises error 5 "Num can only be a numeric value." from "cbaseHex()".
// A negative value gives "-" followed by the digits of its magnitude.
QString cbaseHex(const board::NumberArg& number, int minimumWidth);

// Two's-complement hexadecimal of exactly `digits` digits (sign-extended beyond 96 bits).
QString cbaseDec2HexNegs(const board::NumberArg& number, int digits);

// Unsigned value of a bit string; characters other than "1" count as 0. A numeric string longer than
// 111 characters raises error 5; a "1" at bit 96 or above raises error 6 "Overflow" (both from
// "cbaseBinS2Dec()").
rt::Decimal cbaseBinS2Dec(const QString& bits);

// Signed value of a two's-complement bit string (first character "1" = negative).
rt::Decimal cbaseSignedBinS2Dec(const QString& bits);

// Unsigned value of hexadecimal text ("0"-"9", "A"-"F", "a"-"f"; "" gives 0), as double precision:
// computed exactly and rounded once, so values of up to 53 bits are exact. Anything else raises error 13
// "Type mismatch - Invalid input string." from "cbaseHexStr2Dec()".
double cbaseHexStr2Dec(const QString& hex);

// The same value as a wide decimal, exact up to 96 bits (64-bit registers); larger raises error 6.
rt::Decimal cbaseHexStr2DecExact(const QString& hex);

// Signed value of hexadecimal text whose first digit's top bit is the sign ("F" = -1, "7F" = 127).
rt::Decimal cbaseSignedHexStr2Dec(const QString& hex);

// Hexadecimal text of a bit string, zero-padded to `width` (a longer result is kept whole). A group of
// four that is not binary shows a message box and contributes no digit.
QString cbaseBinStr2Hex(const QString& bits, int width);

// Every "1" becomes "0", every other character "1".
QString cbaseBinInvert(const QString& bits);

// Integer part, truncated toward zero (-2.7 gives -2).
rt::Decimal cbaseDecInt(const board::NumberArg& number);

// Remainder of a / b with the sign of a; exact for whole numbers.
rt::Decimal cbaseDecMod(const board::NumberArg& a, const board::NumberArg& b);

// The user's decimal separator as one character, and its character code.
QString cbaseDecimalSep();
int cbaseDecimalSepCode();
