#pragma once

// The register debug window's byte rows as text: a register value (a bit string, most significant first)
// cut into bytes, what a bit box and a hexadecimal box may hold, the conversions between the two, and the
// value the enabled rows make up again.

#include <QString>
#include <cstdint>
#include <span>

namespace regbytes {

// Up to eight "0"/"1" characters (a box left half typed is padded on the left).
bool isBitText(const QString& text);
// Up to two hexadecimal digits, either case.
bool isHexText(const QString& text);
// A bit box's text padded on the left to eight, a hexadecimal box's to two.
QString paddedBits(const QString& bits);
QString paddedHex(const QString& hex);
// "00".."FF" for up to eight binary digits; eight binary digits for up to two hexadecimal ones.
QString hexOfBits(const QString& bits);
QString bitsOfHex(const QString& hex);

// The whole bytes of a value, and byte `index` of a value of whole bytes counted from the right (byte 0 is
// the last eight characters); "" for an index beyond them.
int byteCount(const QString& value);
QString byteOf(const QString& value, int index);

// One row as the window holds it.
struct ByteRow {
    QString bits;
    QString hex;
    bool enabled = true;
};

struct Composed {
    enum class Fault {
        None,
        BadByte,   // `byte` holds neither a bit text nor a hexadecimal text
        Incomplete // the enabled rows do not make up the register's width
    };
    Fault fault = Fault::None;
    int byte = -1;
    // The register value (most significant first) when there is no fault.
    QString value;
};

// The value of the enabled rows among the register's bytes (`rows[i]` is byte i), for a register of
// `width` bits. The bit boxes make the value; each enabled row's hexadecimal box must hold a digit too.
Composed compose(std::span<const ByteRow> rows, int width);

} // namespace regbytes
