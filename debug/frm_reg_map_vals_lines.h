#pragma once

// The text of the register map values window: an empty line, a header and one line per register address
// with the value of one register map in binary (groups of 8 bits) or hexadecimal (groups of 2 digits).
// Which addresses are listed depends on the silicon revision and the run mode.

#include <QString>
#include <QStringList>
#include <cstdint>

class cZR4470XEvalBd;

namespace regmapview {

enum class Base : int { Binary = 0, Hex = 1 };

// n blanks: n character widths of the window's fixed-width font.
QString pSpace(int n);
// The last address listed: 23 on silicon revisions 1 and 2, else 31.
int lastAddress(int16_t siliconRev);
// 00H-16H, 18H and 19H always; 17H and 1AH-1EH in run mode 5; 1FH in run mode 3.
bool addressShown(int addr, int16_t runMode);
// The bits grouped by a blank after every 8 characters (binary) or as hexadecimal digits grouped by 2,
// without a blank at either end. A group of four characters that is not binary shows as "?".
QString groupedValue(const QString& bits, Base base);
QString headerLine(Base base);
QString registerLine(int addr, const QString& bits, Base base);
// Every printed line for one register map (selector 0 pending, 1 written).
QStringList registerMapLines(const cZR4470XEvalBd& bd, int16_t selector, Base base, int16_t runMode);

} // namespace regmapview
