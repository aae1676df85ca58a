#include "modulation/program_settings.h"

#include "board/ini_access.h"
#include "platform/os/paths.h"

#include <QDir>

namespace mvg {

namespace {

struct IniSection {
    Generator generator;
    const char* section;
    const char* path;
    const char* outputFile;
};

// In the order the file's sections are read.
constexpr IniSection kSections[] = {
    {Generator::Qam, "QAM Vector Generator", "\\Tovrindir\\Tovrin.exe", "Interleaved_data.txt"},
    {Generator::Gmsk, "GMSK Edge Vector Generator", "\\Kelmardir\\Kelmar.exe", "Interleaved_data.txt"},
    {Generator::Sdpsk, "SDPSK Vector Generator", "\\Sovanedir\\Sovane.exe", "Interleaved_data.txt"},
    {Generator::Polar, "Polar QAM Vector Generator", "\\Quorlendir\\Quorlen.exe", "Polar_mode.txt"},
};

qsizetype lastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
}

} // namespace

std::array<GeneratorFiles, kGeneratorCount> readGeneratorFiles(const QString& programFolder)
{
    IniAccess ini;
    ini.setFileName(programFolder + QStringLiteral("/ModVectorGen.ini"));
    std::array<GeneratorFiles, kGeneratorCount> files;
    for (const IniSection& entry : kSections) {
        const QString section = QLatin1String(entry.section);
        GeneratorFiles& out = files[static_cast<size_t>(entry.generator)];
        // The value starts below the program folder, as the classic files write it ("\dir\prog.exe").
        const QString relative = ini.GetPPString(QStringLiteral("Path"), QLatin1String(entry.path), section);
        out.program = os::toNativePath(programFolder + QLatin1Char('/') + relative);
        out.folder = GetTargetRootPath(out.program);
        out.parameterFile =
            out.folder + os::toNativePath(ini.GetPPString(QStringLiteral("ParameterFile"),
                                                          QStringLiteral("mod_parameters.txt"), section));
        out.outputFile =
            out.folder + os::toNativePath(ini.GetPPString(QStringLiteral("OutputFile"),
                                                          QLatin1String(entry.outputFile), section));
    }
    return files;
}

QString GetTarget(const QString& path)
{
    const qsizetype at = lastSeparator(path);
    return at < 0 ? QString() : path.mid(at + 1);
}

QString GetTargetRootPath(const QString& path)
{
    const qsizetype at = lastSeparator(path);
    return at < 0 ? QString() : path.left(at + 1);
}

bool sameFolder(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() && b.isEmpty();
    return QDir::cleanPath(os::toNativePath(a)) == QDir::cleanPath(os::toNativePath(b));
}

} // namespace mvg

namespace simsetup {

QString iniKey(FileBox box)
{
    switch (box) {
    case AuxControl:
        return QStringLiteral("Auxiliary Control File");
    case IQBaseBand:
        return QStringLiteral("IQ Base Band Data File");
    case InterpDAC:
        return QStringLiteral("Interpolating DAC Data File");
    case ISarvex:
        return QStringLiteral("I Sarvex Mode Data File");
    case QSarvex:
        break;
    }
    return QStringLiteral("Q Sarvex Mode Data File");
}

QString simulatorFolder(const QString& programFolder)
{
    return programFolder + QStringLiteral("/Simulator");
}

namespace {

IniAccess iniIn(const QString& programFolder)
{
    IniAccess ini;
    ini.setFileName(programFolder + QStringLiteral("/SimulatorSetup.ini"));
    ini.setAppName(kIniSection);
    return ini;
}

} // namespace

FileTexts readIniSettings(const QString& programFolder)
{
    const IniAccess ini = iniIn(programFolder);
    FileTexts texts;
    for (int box = 0; box < kFileBoxCount; ++box) {
        const QString fallback =
            box == AuxControl ? simulatorFolder(programFolder) + QStringLiteral("/DefaultAuxControlFile.ac")
                              : QString();
        texts[static_cast<size_t>(box)] = ini.GetPPString(iniKey(static_cast<FileBox>(box)), fallback);
    }
    return texts;
}

bool writeIniSettings(const QString& programFolder, const FileTexts& texts)
{
    const IniAccess ini = iniIn(programFolder);
    bool all = true;
    for (int box = 0; box < kFileBoxCount; ++box)
        all = ini.WritePPString(iniKey(static_cast<FileBox>(box)), texts[static_cast<size_t>(box)]) && all;
    return all;
}

QString withSimulatorFolder(const QString& text, const QString& programFolder)
{
    if (!mvg::GetTargetRootPath(text).isEmpty())
        return text;
    return simulatorFolder(programFolder) + QLatin1Char('/') + text;
}

std::vector<FileBox> dataBoxesFor(int opMode, bool sxi)
{
    switch (opMode) {
    case 0:
        if (sxi)
            return {ISarvex, QSarvex};
        return {IQBaseBand};
    case 1:
        return {};
    default:
        return {InterpDAC};
    }
}

QByteArray composeSimParmFile(const FileTexts& texts, int opMode, bool sxi, const QString& clockHz)
{
    QStringList lines{QStringLiteral("RegMapFile.txt"), texts[AuxControl]};
    for (FileBox box : dataBoxesFor(opMode, sxi))
        lines << texts[static_cast<size_t>(box)];
    lines << clockHz;
    return mvg::composeParamFile(lines);
}

} // namespace simsetup
