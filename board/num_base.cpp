#include "board/num_base.h"

#include "board/message_sink.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"

#include <limits>

using board::hexDigitValue;
using board::Int128;
using board::UInt128;

namespace {

constexpr int kBinDigits = 96; // every bit string is built over the decimal's 96 bits
constexpr int kMaxBinLength = 111;

const char kHexChars[] = "0123456789ABCDEF";

[[noreturn]] void raiseInvalidCall(const QString& source)
{
    throw rt::RuntimeError(rt::errInvalidCall, QStringLiteral("Invalid procedure call or argument"), source);
}

[[noreturn]] void raiseTooManyBits()
{
    throw rt::RuntimeError(rt::errInvalidCall,
                           QStringLiteral("To many bits: Can only convert 111 bit string!!!"),
                           QStringLiteral("cbaseBinS2Dec()"));
}

[[noreturn]] void raiseInvalidHex()
{
    throw rt::RuntimeError(rt::errTypeMismatch, QStringLiteral("Type mismatch - Invalid input string."),
                           QStringLiteral("cbaseHexStr2Dec()"));
}

// The bits of `value` in two's complement, `width` of them (the value's sign fills bits beyond 128).
QString twosComplementBits(Int128 value, int width)
{
    QString out(width, Qt::Uninitialized);
    QChar* p = out.data() + width;
    if (value >= std::numeric_limits<int64_t>::min() && value <= std::numeric_limits<int64_t>::max()) {
        // Fast path for everything a register or RAM word holds: one machine word.
        uint64_t word = static_cast<uint64_t>(static_cast<int64_t>(value));
        const int low = width < 64 ? width : 64;
        for (int i = 0; i < low; ++i, word >>= 1)
            *--p = QChar(u'0' + char16_t(word & 1u));
        const QChar fill = value < 0 ? QChar(u'1') : QChar(u'0');
        for (int i = low; i < width; ++i)
            *--p = fill;
        return out;
    }
    UInt128 bits = static_cast<UInt128>(value);
    for (int i = 0; i < width; ++i, bits >>= 1)
        *--p = QChar(u'0' + char16_t(bits & 1u));
    return out;
}

// `digits` hexadecimal digits of `value` in two's complement (the sign fills digits beyond 32).
QString twosComplementHex(Int128 value, int digits)
{
    QString out(digits, Qt::Uninitialized);
    QChar* p = out.data() + digits;
    UInt128 bits = static_cast<UInt128>(value);
    const int exact = digits < 32 ? digits : 32;
    for (int i = 0; i < exact; ++i, bits >>= 4)
        *--p = QLatin1Char(kHexChars[bits & 0xF]);
    const QChar fill = value < 0 ? QChar(u'F') : QChar(u'0');
    for (int i = exact; i < digits; ++i)
        *--p = fill;
    return out;
}

// The index of a four-character group in the nibble table ("0000" .. "1111"), or -1.
int nibbleValue(const QChar* group, qsizetype length)
{
    if (length != 4)
        return -1;
    int v = 0;
    for (int i = 0; i < 4; ++i) {
        if (group[i] == QLatin1Char('1'))
            v = (v << 1) | 1;
        else if (group[i] == QLatin1Char('0'))
            v <<= 1;
        else
            return -1;
    }
    return v;
}

// Checks every character from the right end, as the conversion walks it; raises error 13 at the first bad.
void validateHex(const QString& hex)
{
    for (qsizetype i = hex.size() - 1; i >= 0; --i)
        if (hexDigitValue(hex[i]) < 0)
            raiseInvalidHex();
}

void checkBinLength(const QString& bits)
{
    if (bits.size() > kMaxBinLength && rt::IsNumeric(bits))
        raiseTooManyBits();
}

} // namespace

QString cbaseDec2Bin(const board::NumberArg& number, int width)
{
    if (width < 0)
        raiseInvalidCall(QStringLiteral("cbaseDec2Bin()"));
    const Int128 value = number.truncatedInteger();
    return twosComplementBits(value, width < kBinDigits ? width : kBinDigits);
}

QString cbaseDec2Hex(const board::NumberArg& number, int width)
{
    if (width < 0)
        raiseInvalidCall(QStringLiteral("cbaseDec2Hex()"));
    const Int128 value = number.truncatedInteger();
    // Below 25 digits the rightmost `width` are kept; above, the digits are padded out to `width`.
    return twosComplementHex(value, width);
}

QString cbaseHex(const board::NumberArg& number, int minimumWidth)
{
    if (!number.isNumeric())
        throw rt::RuntimeError(rt::errInvalidCall, QStringLiteral("Num can only be a numeric value."),
                               QStringLiteral("cbaseHex()"));
    const Int128 value = number.truncatedInteger();
    UInt128 magnitude = value < 0 ? UInt128(-value) : UInt128(value);
    QString digits;
    do {
        digits.prepend(QLatin1Char(kHexChars[magnitude & 0xF]));
        magnitude >>= 4;
    } while (magnitude != 0);
    if (minimumWidth > digits.size())
        digits = QString(minimumWidth - digits.size(), QLatin1Char('0')) + digits;
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString cbaseDec2HexNegs(const board::NumberArg& number, int digits)
{
    if (digits < 0)
        raiseInvalidCall(QStringLiteral("cbaseDec2HexNegs()"));
    // Every group of the two's-complement bits is a binary nibble, so the lookup cannot miss here; the
    // value is taken whole (not through a 96-character string) so that more than 24 digits sign-extend.
    return twosComplementHex(number.truncatedInteger(), digits);
}

rt::Decimal cbaseBinS2Dec(const QString& bits)
{
    checkBinLength(bits);
    UInt128 value = 0;
    const qsizetype n = bits.size();
    const QChar* data = bits.constData();
    for (qsizetype i = 0; i < n; ++i) {
        if (data[n - 1 - i] != QLatin1Char('1'))
            continue;
        if (i >= kBinDigits) // the wide decimal holds 96 bits: refuse rather than wrap
            throw rt::RuntimeError(rt::errOverflow, QStringLiteral("Overflow"),
                                   QStringLiteral("cbaseBinS2Dec()"));
        value |= UInt128(1) << i;
    }
    if (value <= std::numeric_limits<uint64_t>::max())
        return rt::Decimal(static_cast<unsigned long long>(value));
    return rt::Decimal::fromParts(static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32),
                                  static_cast<uint32_t>(value >> 64), false, 0);
}

rt::Decimal cbaseSignedBinS2Dec(const QString& bits)
{
    checkBinLength(bits);
    if (!bits.isEmpty() && bits[0] == QLatin1Char('1'))
        return -(cbaseBinS2Dec(cbaseBinInvert(bits)) + rt::Decimal(1));
    return cbaseBinS2Dec(bits);
}

double cbaseHexStr2Dec(const QString& hex)
{
    validateHex(hex);
    // Exact accumulation while the value fits 128 bits, one rounding to double at the end; a longer text
    // (beyond any register) goes on in double precision.
    UInt128 exact = 0;
    double value = 0.0;
    bool inDouble = false;
    for (QChar c : hex) {
        const int d = hexDigitValue(c);
        if (!inDouble && (exact >> 124) != 0) {
            value = static_cast<double>(exact);
            inDouble = true;
        }
        if (inDouble)
            value = value * 16.0 + d;
        else
            exact = (exact << 4) | UInt128(d);
    }
    return inDouble ? value : static_cast<double>(exact);
}

rt::Decimal cbaseHexStr2DecExact(const QString& hex)
{
    validateHex(hex);
    UInt128 value = 0;
    for (QChar c : hex) {
        value = (value << 4) | UInt128(hexDigitValue(c));
        if ((value >> 96) != 0)
            throw rt::RuntimeError(rt::errOverflow, QStringLiteral("Overflow"),
                                   QStringLiteral("cbaseHexStr2Dec()"));
    }
    return board::decimalOf(Int128(value));
}

rt::Decimal cbaseSignedHexStr2Dec(const QString& hex)
{
    validateHex(hex);
    QString bits(hex.size() * 4, Qt::Uninitialized);
    QChar* p = bits.data();
    for (QChar c : hex) {
        const int d = hexDigitValue(c);
        for (int b = 3; b >= 0; --b)
            *p++ = QChar(u'0' + char16_t((d >> b) & 1));
    }
    return cbaseSignedBinS2Dec(bits);
}

QString cbaseBinStr2Hex(const QString& bits, int width)
{
    QString padded = bits;
    if (padded.size() % 4 != 0)
        padded.prepend(QString(4 - padded.size() % 4, QLatin1Char('0')));
    QString hex;
    hex.reserve(padded.size() / 4);
    for (qsizetype i = 0; i < padded.size(); i += 4) {
        const int v = nibbleValue(padded.constData() + i, 4);
        if (v < 0) {
            boardmsg::MsgBox(
                QStringLiteral("Error: and invalid value was passed. Only binary strings can be passed to "
                               "this function."),
                boardmsg::vbCritical, QStringLiteral("cbaseBinStr2Hex: Type Missmatch"));
            continue;
        }
        hex.append(QLatin1Char(kHexChars[v]));
    }
    if (width > hex.size())
        hex.prepend(QString(width - hex.size(), QLatin1Char('0')));
    return hex;
}

QString cbaseBinInvert(const QString& bits)
{
    QString out(bits.size(), Qt::Uninitialized);
    QChar* p = out.data();
    for (QChar c : bits)
        *p++ = c == QLatin1Char('1') ? QChar(u'0') : QChar(u'1');
    return out;
}

rt::Decimal cbaseDecInt(const board::NumberArg& number)
{
    return number.toDecimal().truncated();
}

rt::Decimal cbaseDecMod(const board::NumberArg& a, const board::NumberArg& b)
{
    const rt::Decimal x = a.toDecimal();
    const rt::Decimal y = b.toDecimal();
    if (y.isZero())
        throw rt::RuntimeError(rt::errDivisionByZero, QStringLiteral("Division by zero"));
    if (x.isInteger() && y.isInteger()) // whole numbers: the exact remainder, whatever their size
        return board::decimalOf(board::integerOf(x) % board::integerOf(y));
    const rt::Decimal q = x / y;
    return y * (q - q.truncated());
}

QString cbaseDecimalSep()
{
    // The second character of zero in the "Fixed" format ("0.00" / "0,00") is the separator in use.
    const QString zero = rt::Format(0.0, QStringLiteral("Fixed"));
    return zero.size() >= 2 ? zero.mid(1, 1) : QString();
}

int cbaseDecimalSepCode()
{
    const QString sep = cbaseDecimalSep();
    return sep.isEmpty() ? 0 : sep[0].unicode();
}
