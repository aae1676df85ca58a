// Feeds arbitrary bytes to the RAM data file reader as a file in each of the four formats. A file the
// reader accepts holds 1 to 1024 words, and every word it read dumps to a line that reads back as the
// same word.

#include "board/ram_file.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzsupport::writeInput(QStringLiteral("fuzz.RAMData.txt"), data, size);
    if (path.isEmpty())
        return 0;
    for (int format = -1; format <= 4; ++format) {
        const board::RamFileContents contents = board::readRamDataFile(path, format);
        if (!contents.ok()) {
            check(format >= 0 && format <= 3 ? true : contents.words.empty());
            continue;
        }
        check(format >= 0 && format <= 3);
        check(!contents.words.empty() && contents.words.size() <= kRamWordCount);
        check(contents.badLine == 0);
        for (uint32_t word : contents.words) {
            if (format <= kRamFormatDecimal) {
                check(board::parseRamWordLine(board::formatRamDumpLine(word, format), format) == word);
            } else {
                check(board::parseRamHalfLine(QString::number(word >> 16)) ==
                      static_cast<uint16_t>(word >> 16));
            }
            check(board::ramWordValue(board::ramWordBits(word)) == word);
        }
    }
    return 0;
}
