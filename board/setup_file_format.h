#pragma once

// The setup file ("*.stp") as text: a snapshot of registers 0x00-0x15 and 0x18, the external clock and six
// board lines, in the comma-separated form of the classic Write # statement (text fields in double quotes,
// numbers bare with "." as the decimal separator, CR LF after every line).
//
// The reader checks the whole file before anything is applied, so a bad file changes neither the register
// maps nor the chip nor the windows.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

inline const QString kSetupFileTitle = QStringLiteral("ZR4470 Evaluation Software Setup File");
inline const QString kSetupFileEndOfRegmap = QStringLiteral("End Of Regmap");
inline const QString kSetupFileClockLabel = QStringLiteral("External Clock");
// The labels of the six line rows, in file order. The three profile labels are one above the pins they
// carry ("P3" holds P2, "P2" holds P1, "P1" holds P0): files in use carry exactly these.
inline const std::array<QString, 6> kSetupFileLineLabels = {QStringLiteral("External Power Down Pin"),
                                                            QStringLiteral("ISFC Pin"),
                                                            QStringLiteral("OSK"),
                                                            QStringLiteral("P3"),
                                                            QStringLiteral("P2"),
                                                            QStringLiteral("P1")};

// Index of each board line in SetupFileContents::lines.
enum SetupFileLine : int { kSetupExtPD, kSetupISFC, kSetupOSK, kSetupP2, kSetupP1, kSetupP0 };

struct SetupFileRow {
    int16_t address = 0;
    QString bits; // "0"/"1", most significant first
};

struct SetupFileContents {
    std::vector<SetupFileRow> rows; // rows to load into the chip at hand, in file order
    // Rows the chip at hand does not load: registers it skips, and rows written on the other silicon
    // revision for a register whose width differs between the revisions. In file order; never written.
    std::vector<SetupFileRow> skippedRows;
    double externalClock = 0;       // MHz
    std::array<int16_t, 6> lines{}; // 0 or 1, in SetupFileLine order
};

// Registers a setup file holds: 0x00-0x15 and 0x18, in the order they are written.
const std::vector<int16_t>& setupFileRegisters();
bool isSetupFileRegister(int address);

// The file's text for these contents (rows in the given order).
QByteArray writeSetupFileText(const SetupFileContents& contents);

// What a row's value may be for a register on the chip at hand.
struct SetupRowWidths {
    // The width a loaded row must have, or 0 when the chip does not load the register (then any string of
    // 1 to 64 "0"/"1" characters is accepted and the row skipped).
    int load = 0;
    // The width the register has on the other silicon revision when that differs from `load`, else 0: a
    // row of that width comes from a file saved on the other revision and is skipped, the rest loads.
    int otherRevision = 0;
};
using SetupRegisterWidth = std::function<SetupRowWidths(int16_t address)>;

struct SetupFileParse {
    std::optional<SetupFileContents> contents; // empty when the file is refused
    QString error;                             // why, with the line number (for logs and tests)
};

// Reads and checks a whole file. Rows may come in any order and may repeat; at most kMaxSetupRows of them.
SetupFileParse parseSetupFile(const QByteArray& data, const SetupRegisterWidth& registerWidth);
inline constexpr int kMaxSetupRows = 64;

// One line split into fields the way the classic Input # statement reads them: fields separated by commas;
// a quoted field is taken without its quotes (only blanks may follow the closing quote); an unquoted field
// is trimmed. Empty when the line is malformed (an unterminated quote, text after a closing quote).
std::optional<QStringList> splitSetupFields(const QString& line);

// The number in a field, written with "." whatever the locale ("1000", "122.88", "1.5E+3"); empty when the
// field is not such a number or not finite.
std::optional<double> setupFieldNumber(const QString& field);

// The shortest text that reads back as the same double, with "." as separator ("1000", "122.88").
QString setupNumberText(double value);
