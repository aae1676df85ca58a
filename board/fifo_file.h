#pragma once

// FIFO data files: one whole number per line (decimal in the user's locale, blanks around allowed, a
// fraction rounded to the nearest whole number with halves to even), each a signed 32-bit value, no
// header. The FIFO control window counts the lines first (ebCountFileLines) to enforce the size limits,
// then loads the file in the plain layout or in the SXI data-port layout.

#include <QString>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

class QIODevice;

// The number of lines of the file (an empty file has 0); -1 when it cannot be read. Counting stops at
// stopAt lines: a size check passes its limit plus one, and a file far over it is read no further than
// that (a file of a gigabyte of short lines is refused at once).
int32_t ebCountFileLines(const QString& path, int32_t stopAt = std::numeric_limits<int32_t>::max());

// Reads and checks the whole file first: a line that is not such a number, an empty file or one of more
// than 65536 lines loads nothing (no USB traffic) and gives false. Otherwise true when the board object's
// USBLoadFIFOData reports success.
bool ebLoadFIFOFile(const QString& path);

// The same for the SXI layout with USBLoadFifoDataSXI(values, reverseBits, offsetBinary): the samples
// come in I/Q pairs, so an odd number of lines, like an empty file or one of more than 8192 lines, loads
// nothing and gives false.
bool ebLoadFIFOFileSXI(const QString& path, bool reverseBits, bool offsetBinary);

namespace board {

constexpr int kFifoFileMaxLines = 65536;
constexpr int kFifoSxiFileMaxLines = 8192;
// Longest line looked at in full; a longer one is a bad line.
constexpr qsizetype kFifoLineLimit = 256;

struct FifoFileContents {
    std::vector<int32_t> values; // index 0 = the first line
    qsizetype badLine = 0;       // 1-based line of the first problem; 0 when none is tied to a line
    QString problem;             // empty when the file can be loaded
    bool ok() const { return problem.isEmpty(); }
};

// The lines of the device as ebCountFileLines counts them, at most stopAt; -1 on a read error.
qint64 countTextLines(QIODevice& device, qint64 stopAt);

// One line as a FIFO value; nullopt when it is not a number or does not fit 32 bits once rounded.
std::optional<int32_t> parseFifoLine(const QString& line);

// Reads and checks a FIFO data file of at most maxLines lines; with pairs set, the count must be even.
FifoFileContents readFifoDataFile(QIODevice& device, int maxLines, bool pairs);
FifoFileContents readFifoDataFile(const QString& path, int maxLines, bool pairs);

} // namespace board
