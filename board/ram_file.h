#pragma once

// RAM data files: one chip RAM word (32 bits) per line, CR LF after each, in address order from address 0,
// in one of four number formats. ebLoadRAMFile fills the RAM from such a file, ebDumpRAM reads the whole
// RAM back into one and ebRAMFillTest fills the RAM with a ramp.
//
// The whole-RAM transfers go through the RAM segment register that the ISFC line selects (0x05 when it
// reads 1, else 0x06): it is loaded with the range to move and pulsed in with I/O update first, and its
// value from the written map is loaded back and pulsed in again afterwards, whatever happened between.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

class QIODevice;

// The format codes the RAM windows pass (the index of their format lists).
enum RamDataFormat : int16_t {
    kRamFormatBinary = 0,      // 32 "0"/"1" characters, most significant first (1-32 read, left-padded)
    kRamFormatHex = 1,         // 8 hexadecimal digits
    kRamFormatDecimal = 2,     // unsigned decimal (negative numbers read as their two's complement)
    kRamFormatSignedPairs = 3, // read: two lines per word, upper then lower 16 bits; dump: signed decimal
};

constexpr int kRamWordCount = 1024;

// Results of ebLoadRAMFile.
constexpr int16_t kRamLoadDone = 0;
constexpr int16_t kRamLoadFailed = 1;  // a bad or empty file, a file that cannot be read, a failed transfer
constexpr int16_t kRamLoadNoBoard = 2; // a good file, but no evaluation board to load it into
constexpr int16_t kRamLoadNoPath = 4;

// Reads the whole file and checks every line before anything moves; only a good file reaches the board.
// A file of n < 1024 words loads RAM addresses 0 to n-1 (the segment register spans exactly those) and
// leaves the rest of the RAM as it was; lines after the 1024th word are not read. The RAM segment window
// is refreshed after every transfer, successful or not.
int16_t ebLoadRAMFile(const QString& path, int16_t format);

// How a dump ended; the caller tells the user (the dump itself shows no message).
enum class RamDumpResult { Done, ReadFailed, NotWritten };

// Reads all 1024 words and, only when that read succeeded, writes (replaces) the file in the format.
// A format outside 0-3 is refused before any traffic (ReadFailed); a file that cannot be written whole
// stays as it was (NotWritten).
RamDumpResult ebDumpRAMToFile(const QString& path, int16_t format);
// The same, true when the RAM was read and the file written.
bool ebDumpRAM(const QString& path, int16_t format);

// Profile pins 0, CFR1 and Profile0 set for a RAM single-tone sweep over the whole RAM (chip and pending
// map), the loaded Control, Profiles and register debug windows refreshed, then the ramp 0, 1, ... 1023
// loaded into the RAM; "Error occured loading the RAM!" when that load fails.
void ebRAMFillTest();
// The name the register debug window knows it by.
inline void ebFillRAMTest()
{
    ebRAMFillTest();
}

namespace board {

// What a RAM data file holds, or why it cannot be loaded.
struct RamFileContents {
    std::vector<uint32_t> words; // at most kRamWordCount, index = RAM address
    qsizetype badLine = 0;       // 1-based line of the first problem; 0 when none is tied to a line
    QString problem;             // empty when the file can be loaded
    bool ok() const { return problem.isEmpty(); }
};

// Longest line the readers look at in full; anything longer is a bad line in every format.
constexpr qsizetype kRamLineLimit = 256;

// One line of formats 0-2 as a word; nullopt for a bad line. Blanks and tabs around the number are
// allowed, none inside it. Format 0: 1-32 "0"/"1" characters. Format 1: hexadecimal digits, value at most
// FFFFFFFF. Format 2: a whole number in the user's locale from -2147483648 to 4294967295.
std::optional<uint32_t> parseRamWordLine(const QString& line, int format);
// One line of a format-3 pair: a whole number from -32768 to 65535, taken as 16 bits.
std::optional<uint16_t> parseRamHalfLine(const QString& line);

// Reads and checks a RAM data file; nothing outside the returned value changes.
RamFileContents readRamDataFile(QIODevice& device, int format);
RamFileContents readRamDataFile(const QString& path, int format);

// One dump line (without its end) of a 32-character word: format 0 the bits, 1 eight hexadecimal digits,
// 2 the unsigned decimal and 3 the signed decimal, both in print form (a blank or "-" in front, one blank
// after).
QString formatRamDumpLine(uint32_t word, int format);
// The same line with its CR LF, appended as bytes; the longest is a binary line.
constexpr qsizetype kRamDumpLineBytes = 34;
void appendRamDumpLine(QByteArray& out, uint32_t word, int format);

// The word as 32 "0"/"1" characters, and back (nullopt when the text is not exactly that).
QString ramWordBits(uint32_t word);
std::optional<uint32_t> ramWordValue(const QString& bits);

// The 48-bit segment register value that spans RAM addresses 0 to words-1 (1 <= words <= 1024).
QString ramSegmentRange(int words);

} // namespace board
