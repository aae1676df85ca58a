#include "modulation/generator_report.h"

#include "platform/os/files.h"

#include <QFile>

namespace mvg {

namespace {

// The first line of a file, or nothing when the file cannot be opened or holds no line.
std::optional<QString> firstLine(const QString& path)
{
    QFile file(path);
    if (!os::openRegularFile(file))
        return std::nullopt;
    const QStringList lines = splitFileLines(file.read(qint64{64} * 1024));
    if (lines.isEmpty())
        return std::nullopt;
    return lines.front();
}

} // namespace

RunTexts runTextsOf(Generator generator)
{
    switch (generator) {
    case Generator::Qam:
        return {QStringLiteral("MVG Console"), QStringLiteral("Creating upsampled and filtered QAM data")};
    case Generator::Polar:
        return {QStringLiteral("QAM(Polar) VectGen Console"),
                QStringLiteral("Creating upsampled and filtered Polar QAM data")};
    case Generator::Gmsk:
        return {QStringLiteral("GMSK/EDGE VectGen Console"),
                QStringLiteral("Creating upsampled and filtered EDGE data")};
    case Generator::Sdpsk:
        break;
    }
    return {QStringLiteral("Sovanedir Console"),
            QStringLiteral("Creating upsampled and filtered SDPSK data")};
}

ErrorReport parseErrorFile(const std::optional<QByteArray>& bytes)
{
    ErrorReport report;
    if (!bytes)
        return report;
    const QStringList lines = splitFileLines(*bytes);
    if (!lines.isEmpty() && lines.front().trimmed() == QStringLiteral("0")) {
        report.noErrors = true;
        return report;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            break;
        report.errorLines << lines[i].trimmed();
    }
    return report;
}

ErrorReport readErrorFile(const QString& path)
{
    // The error lines of a run fill a console box; a file far larger is no error file.
    return parseErrorFile(os::readWholeFile(path, 1024 * 1024));
}

bool waitForErrorFile(const QString& path, const std::function<bool()>& pause)
{
    for (int failures = 0;;) {
        if (const std::optional<QString> line = firstLine(path))
            return !line->trimmed().isEmpty();
        if (++failures >= kErrorFileTries)
            return false;
        if (!pause())
            return false;
    }
}

QString runSummary(int16_t errors, int16_t warnings, bool noErrors)
{
    if (!noErrors && errors == 0)
        errors = 1;
    if (errors + warnings == 0)
        return QStringLiteral("\r\nData Generation Completed without Errors!");
    return QStringLiteral("\r\nData Generation Complete:  ") + QStringLiteral("Errors = ") +
           QString::number(errors) + QStringLiteral("  Warnings = ") + QString::number(warnings);
}

} // namespace mvg
