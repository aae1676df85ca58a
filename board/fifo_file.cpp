#include "board/fifo_file.h"

#include "board/evalbd.h"
#include "board/hourglass.h"
#include "board/text_lines.h"
#include "platform/runtime/decimal.h"

#include "platform/os/files.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace board {

std::optional<int32_t> parseFifoLine(const QString& line)
{
    const std::optional<rt::Decimal> value = rt::Decimal::tryFromText(line);
    if (!value)
        return std::nullopt;
    const rt::Decimal whole = value->roundedHalfEven(0);
    if (whole < rt::Decimal(std::numeric_limits<int32_t>::min()) ||
        whole > rt::Decimal(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(whole.toInt64());
}

FifoFileContents readFifoDataFile(QIODevice& device, int maxLines, bool pairs)
{
    FifoFileContents contents;
    TextLineSource source(device, kFifoLineLimit);
    QString line;
    bool overlong = false;
    for (;;) {
        const TextLineSource::Result result = source.next(line, overlong);
        if (result == TextLineSource::Result::ReadError) {
            contents.problem = QStringLiteral("The file could not be read");
            return contents;
        }
        if (result == TextLineSource::Result::End)
            break;
        if (source.lineCount() > maxLines) {
            contents.problem = QStringLiteral("The file has more than %1 lines").arg(maxLines);
            return contents;
        }
        const std::optional<int32_t> value = overlong ? std::nullopt : parseFifoLine(line);
        if (!value) {
            contents.badLine = source.lineCount();
            contents.problem = QStringLiteral("Line %1: not a whole number of 32 bits").arg(contents.badLine);
            return contents;
        }
        contents.values.push_back(*value);
    }
    if (contents.values.empty())
        contents.problem = QStringLiteral("The file holds no values");
    else if (pairs && contents.values.size() % 2 != 0)
        contents.problem =
            QStringLiteral("The file holds an odd number of values; samples come in I/Q pairs");
    return contents;
}

qint64 countTextLines(QIODevice& device, qint64 stopAt)
{
    TextLineSource source(device, 0);
    QString line;
    bool overlong = false;
    while (source.lineCount() < stopAt) {
        switch (source.next(line, overlong)) {
        case TextLineSource::Result::ReadError:
            return -1;
        case TextLineSource::Result::End:
            return source.lineCount();
        case TextLineSource::Result::Line:
            break;
        }
    }
    return source.lineCount();
}

FifoFileContents readFifoDataFile(const QString& path, int maxLines, bool pairs)
{
    QFile file(path);
    if (path.isEmpty() || !os::openRegularFile(file)) {
        FifoFileContents contents;
        contents.problem = QStringLiteral("The file could not be opened");
        return contents;
    }
    return readFifoDataFile(file, maxLines, pairs);
}

} // namespace board

int32_t ebCountFileLines(const QString& path, int32_t stopAt)
{
    QFile file(path);
    if (path.isEmpty() || !os::openRegularFile(file))
        return -1;
    return static_cast<int32_t>(board::countTextLines(file, std::max<int32_t>(stopAt, 0)));
}

bool ebLoadFIFOFile(const QString& path)
{
    HourglassPointer hourglass;
    const board::FifoFileContents contents = board::readFifoDataFile(path, board::kFifoFileMaxLines, false);
    if (!contents.ok() || !goEvalBd)
        return false;
    return goEvalBd->USBLoadFIFOData(contents.values);
}

bool ebLoadFIFOFileSXI(const QString& path, bool reverseBits, bool offsetBinary)
{
    HourglassPointer hourglass;
    const board::FifoFileContents contents = board::readFifoDataFile(path, board::kFifoSxiFileMaxLines, true);
    if (!contents.ok() || !goEvalBd)
        return false;
    return goEvalBd->USBLoadFifoDataSXI(contents.values, reverseBits, offsetBinary);
}
