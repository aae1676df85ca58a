// Feeds arbitrary bytes to the setup-file reader and checks what it accepts: only registers a setup file
// holds, values of the width asked for (rows the chip skips: the other revision's width, or 1 to 64 binary
// digits for a register it does not load), lines of 0 or 1, a finite clock, and a file that reads back the
// same after being written again.

#include "board/setup_file_format.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstdint>

namespace {

using fuzzsupport::check;

// The revision 3 layout's widths, with register 0x18 skipped as on a revision 1/2 chip when `skip18`.
int widthOf(int16_t address, bool skip18)
{
    static const int widths[0x19] = {32, 32, 32, 32, 32, 48, 48, 32, 16, 32, 32, 64, 64,
                                     32, 64, 64, 64, 64, 64, 64, 64, 64, 32, 8,  16};
    if (address == 0x18 && skip18)
        return 0;
    return address >= 0 && address < 0x19 ? widths[address] : 0;
}

void checkAccepted(const SetupFileContents& contents, bool skip18)
{
    check(static_cast<int>(contents.rows.size() + contents.skippedRows.size()) <= kMaxSetupRows);
    for (const SetupFileRow& row : contents.rows) {
        check(isSetupFileRegister(row.address));
        check(row.bits.size() == widthOf(row.address, skip18));
        for (QChar c : row.bits)
            check(c == QLatin1Char('0') || c == QLatin1Char('1'));
    }
    for (const SetupFileRow& row : contents.skippedRows) {
        const bool otherRevision = row.address == 0x18 && row.bits.size() == (skip18 ? 16 : 8);
        check(otherRevision ||
              (widthOf(row.address, skip18) == 0 && row.bits.size() >= 1 && row.bits.size() <= 64));
        for (QChar c : row.bits)
            check(c == QLatin1Char('0') || c == QLatin1Char('1'));
    }
    check(std::isfinite(contents.externalClock));
    for (int16_t line : contents.lines)
        check(line == 0 || line == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const bool skip18 : {false, true}) {
        // Register 0x18 as on each revision: loaded at 16 bits on revision 3, where an 8-bit row from a
        // revision 1/2 file is skipped; not loaded on revision 1/2, where a 16-bit row is skipped as well.
        const SetupRegisterWidth width = [skip18](int16_t address) {
            return SetupRowWidths{widthOf(address, skip18), address == 0x18 ? (skip18 ? 16 : 8) : 0};
        };
        const SetupFileParse parse = parseSetupFile(bytes, width);
        check(parse.contents.has_value() == parse.error.isEmpty());
        if (!parse.contents)
            continue;
        checkAccepted(*parse.contents, skip18);

        // What was accepted writes out and reads back the same.
        const SetupFileParse again = parseSetupFile(writeSetupFileText(*parse.contents), width);
        check(again.contents.has_value());
        check(again.contents->rows.size() == parse.contents->rows.size());
        for (size_t k = 0; k < again.contents->rows.size(); ++k) {
            check(again.contents->rows[k].address == parse.contents->rows[k].address);
            check(again.contents->rows[k].bits == parse.contents->rows[k].bits);
        }
        check(again.contents->externalClock == parse.contents->externalClock);
        check(again.contents->lines == parse.contents->lines);
    }
    return 0;
}
