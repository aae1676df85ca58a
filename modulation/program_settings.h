#pragma once

// Where the numerical programs and their files are: the generators' paths from "ModVectorGen.ini" (read
// only, with built-in defaults) and the simulator window's file choices in "SimulatorSetup.ini" (read at
// load, written at unload). Both files live in the program folder.

#include "modulation/param_files.h"

#include <QString>
#include <QStringList>
#include <array>

namespace mvg {

// One generator's files, full paths. `folder` ends with "/" and is the run's working folder.
struct GeneratorFiles {
    QString program;
    QString folder;
    QString parameterFile;
    QString outputFile;
};

// The four generators' files from "ModVectorGen.ini" in `programFolder`, indexed by Generator. The program
// path is the program folder followed by the key `Path`; the other two lie in the program's folder.
std::array<GeneratorFiles, kGeneratorCount> readGeneratorFiles(const QString& programFolder);

// The text after the last separator ("\" or "/"); empty when there is none.
QString GetTarget(const QString& path);
// The text up to and including the last separator; empty when there is none.
QString GetTargetRootPath(const QString& path);

// Whether two paths name the same folder, whatever their trailing separators.
bool sameFolder(const QString& a, const QString& b);

} // namespace mvg

namespace simsetup {

// The five file boxes of the simulator window, in the order of their INI keys.
enum FileBox : int { AuxControl = 0, IQBaseBand = 1, InterpDAC = 2, ISarvex = 3, QSarvex = 4 };
constexpr int kFileBoxCount = 5;
using FileTexts = std::array<QString, kFileBoxCount>;

inline const QString kIniSection = QStringLiteral("ZR4470 Simulator");
QString iniKey(FileBox box);

// The simulator folder below the program folder, without and with the trailing "/".
QString simulatorFolder(const QString& programFolder);

// The texts from "SimulatorSetup.ini" in the program folder (defaults for missing keys), whole however long.
FileTexts readIniSettings(const QString& programFolder);
// Writes all five; false when the file could not be written.
bool writeIniSettings(const QString& programFolder, const FileTexts& texts);

// A box's text as a path: a bare file name names a file in the simulator folder.
QString withSimulatorFolder(const QString& text, const QString& programFolder);

// The data-file boxes a run checks and writes, in order, for an operating mode and SXI state.
std::vector<FileBox> dataBoxesFor(int opMode, bool sxi);

// "SimParmFile.txt": "RegMapFile.txt", the auxiliary box's text, the data boxes' texts and the clock line.
QByteArray composeSimParmFile(const FileTexts& texts, int opMode, bool sxi, const QString& clockHz);

} // namespace simsetup
