// Feeds arbitrary bytes to the FIFO data file reader as a file, in the plain and the SXI layout. A file
// the reader accepts has as many values as lines, an even number of them in the SXI layout, and each
// value written as a number reads back as itself.

#include "board/fifo_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

const QString& filePath()
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("fuzz.fifo.txt"));
    return path;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        QFile file(filePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const int32_t lines = ebCountFileLines(filePath());
    check(lines >= 0);
    for (const bool sxi : {false, true}) {
        const int limit = sxi ? board::kFifoSxiFileMaxLines : board::kFifoFileMaxLines;
        const board::FifoFileContents contents = board::readFifoDataFile(filePath(), limit, sxi);
        if (!contents.ok()) {
            check(contents.badLine <= lines);
            continue;
        }
        check(static_cast<int32_t>(contents.values.size()) == lines);
        check(!contents.values.empty() && static_cast<int>(contents.values.size()) <= limit);
        check(!sxi || contents.values.size() % 2 == 0);
        for (int32_t value : contents.values)
            check(board::parseFifoLine(QString::number(value)) == value);
    }
    return 0;
}
