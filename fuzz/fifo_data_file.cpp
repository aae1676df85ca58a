// Feeds arbitrary bytes to the FIFO data file reader as a file, in the plain and the SXI layout. A file
// the reader accepts has as many values as lines, an even number of them in the SXI layout, and each
// value written as a number reads back as itself.

#include "board/fifo_file.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzsupport::writeInput(QStringLiteral("fuzz.fifo.txt"), data, size);
    if (path.isEmpty())
        return 0;
    const int32_t lines = ebCountFileLines(path);
    check(lines >= 0);
    for (const bool sxi : {false, true}) {
        const int limit = sxi ? board::kFifoSxiFileMaxLines : board::kFifoFileMaxLines;
        const board::FifoFileContents contents = board::readFifoDataFile(path, limit, sxi);
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
