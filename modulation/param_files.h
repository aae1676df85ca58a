#pragma once

// The generators' parameter files: one value per line, CR LF after each, no keys; a value's meaning is its
// line number, in an order of its own per generator. One table per generator names the control of each
// line and how its value is written and read, so that the writer and the reader cannot drift apart.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace mvg {

// The four generators, in the order of their tabs.
enum class Generator : int { Qam = 0, Polar = 1, Gmsk = 2, Sdpsk = 3 };
constexpr int kGeneratorCount = 4;
constexpr Generator kAllGenerators[] = {Generator::Qam, Generator::Polar, Generator::Gmsk, Generator::Sdpsk};

enum class LineKind {
    Text,       // the box's text as it stands
    Trimmed,    // the box's text without blanks around it
    Decimal,    // trimmed, written with "." whatever the locale's separator
    List,       // the list's selected index
    WindowType, // always written "0" (the generators' reading of this line lies outside the program);
                // read back into the window-type list
    Check,      // 0 unchecked, 1 checked
    FileName,   // the box's text; read back only trimmed, so a "." in a name stays
    OutputFile, // as FileName; an empty box writes "ModulationData.txt", a blank line reads back as that
                // file in the program folder
};

// The whole-number type of a field that takes only digits: the 16-bit fields are those the window checks
// with a 16-bit conversion, every other one is 32-bit (the symbol counts and upsampling factors enter the
// 32-bit vector count).
enum class WholeType { None, Int16, Int32 };

struct ParamLine {
    QString control; // the control the line belongs to
    LineKind kind;
    int listCount = 0;                 // entries of the list (List and WindowType lines)
    WholeType whole = WholeType::None; // a whole-number field's type
};

// The file's lines in order.
const std::vector<ParamLine>& paramLines(Generator generator);

// The name written when the QAM output box is empty.
inline const QString kDefaultModulationFile = QStringLiteral("ModulationData.txt");

// Trimmed text with the locale's decimal separator replaced by "."; and the reverse.
QString ExportParam(const QString& text);
QString CleanParam(const QString& text);

// The file's bytes for the lines' values (one per line, in order).
QByteArray composeParamFile(const QStringList& values);

// One line read back, as it goes into its control: the text for boxes, the index for lists and check boxes.
struct ParamValue {
    QString text;
    int number = 0;
};

// Reads the file's lines in the table's order. Stops at the first line that is missing, at a list or
// check-box line that is not a whole number within the control's range, or at a whole-number field's
// number beyond its type; what was read before stays. Other text goes into its box, whose check marks it.
std::vector<ParamValue> parseParamFile(Generator generator, const QByteArray& bytes,
                                       const QString& programFolder);

// Splits text into lines the way a line-by-line read does: CR LF, LF or CR end a line; text after the last
// line end is a line too.
QStringList splitFileLines(const QByteArray& bytes);

} // namespace mvg
