#include "board/regmap_file.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "board/hourglass.h"
#include "board/message_sink.h"
#include "board/progress.h"
#include "board/system_clock.h"
#include "platform/os/files.h"
#include "platform/runtime/decimal.h"
#include "platform/runtime/runtime_error.h"

#include <QDir>
#include <algorithm>

namespace {

constexpr int16_t kWrittenMap = 1;
constexpr int16_t kLastRegister = 0x1E;
const QString kCrLf = QStringLiteral("\r\n");

bool isWholeRegister(const QString& value, int width)
{
    if (value.size() != width)
        return false;
    return std::all_of(value.begin(), value.end(),
                       [](QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('1'); });
}

void reportUnwritten(const QString& path)
{
    boardmsg::MsgBox(QStringLiteral("The file could not be written:") + kCrLf + path, boardmsg::vbExclamation,
                     QStringLiteral("Error!"));
}

} // namespace

std::optional<QByteArray> regMapFileText(const QString& path, bool useSoftwareValues)
{
    if (!useSoftwareValues && !gbBoardConnected) {
        boardmsg::MsgBox(QStringLiteral("Evaluation board not connected!"), boardmsg::vbInformation,
                         QStringLiteral("Error!"));
        return std::nullopt;
    }
    cZR4470XEvalBd* bd = goEvalBd;
    if (!bd)
        return std::nullopt;
    HourglassPointer hourglass;
    ProgressBarScope progress(0, 29, QStringLiteral("Writing Regmap File"));

    QByteArray text;
    for (int16_t address = 0; address <= kLastRegister; ++address) {
        SetProgressBarValue(address);
        // A profile register's read waits with queued events running: the board object may go meanwhile.
        if (goEvalBd != bd)
            return std::nullopt;
        const QString value =
            useSoftwareValues ? bd->GetRegMapValue(kWrittenMap, address) : bd->USBSerialReadPKT(address);
        const QString hex = QStringLiteral("%1").arg(address, 2, 16, QLatin1Char('0')).toUpper();
        if (!useSoftwareValues && value.isEmpty()) {
            boardmsg::MsgBox(
                QStringLiteral("Register %1H could not be read from the evaluation board!").arg(hex) + kCrLf +
                    path + QStringLiteral(" was not written."),
                boardmsg::vbExclamation, QStringLiteral("Error!"));
            return std::nullopt;
        }
        // The simulator reads each line as the whole register: a value of another width or with other
        // characters than "0" and "1" would give it wrong settings.
        if (!isWholeRegister(value, bd->GetRegLength(address))) {
            boardmsg::MsgBox(QStringLiteral("Register %1H is incomplete!").arg(hex) + kCrLf + path +
                                 QStringLiteral(" was not written."),
                             boardmsg::vbExclamation, QStringLiteral("Error!"));
            return std::nullopt;
        }
        text.append(value.toLatin1());
        text.append("\r\n");
    }
    return text;
}

bool ebWriteRegMapFile(const QString& path, bool useSoftwareValues)
{
    const std::optional<QByteArray> text = regMapFileText(path, useSoftwareValues);
    if (!text)
        return false;
    if (!os::writeWholeFile(path, *text)) {
        reportUnwritten(path);
        return false;
    }
    return true;
}

std::optional<QString> simParmClockHz(const QString& sysClockMHzText)
{
    const std::optional<rt::Decimal> mhz = rt::Decimal::tryFromText(sysClockMHzText);
    if (!mhz)
        return std::nullopt;
    try {
        QString text = (*mhz * rt::Decimal(1000000)).roundedHalfAwayFromZero(3).toInvariantString();
        qsizetype point = text.indexOf(QLatin1Char('.'));
        if (point < 0) {
            point = text.size();
            text.append(QLatin1Char('.'));
        }
        while (text.size() - point - 1 < 3)
            text.append(QLatin1Char('0'));
        return text;
    } catch (const rt::RuntimeError&) {
        return std::nullopt;
    }
}

bool ebWriteSimParmFile()
{
    HourglassPointer hourglass;
    const std::optional<QString> hz = simParmClockHz(SysClockText());
    if (!hz) {
        boardmsg::MsgBox(QStringLiteral("The System Clock is not a valid number!") + kCrLf +
                             QStringLiteral("SimParmFile.txt was not written."),
                         boardmsg::vbExclamation, QStringLiteral("Error!"));
        return false;
    }
    const QString path = QDir::current().filePath(QStringLiteral("SimParmFile.txt"));
    const QString text = QStringLiteral("RegMapFile.txt") + kCrLf + *hz + kCrLf;
    if (!os::writeWholeFile(path, text.toLatin1())) {
        reportUnwritten(path);
        return false;
    }
    return true;
}
