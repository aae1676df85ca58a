// Feeds arbitrary bytes to the generators' parameter-file reader as each of the four generators' files, and
// checks that what was read is within the controls' ranges and writes back as the lines it came from.

#include "fuzz/fuzz_support.h"
#include "modulation/param_files.h"
#include "platform/runtime/numeric_text.h"

#include <cmath>
#include <cstdint>

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = mvg::splitFileLines(bytes);
    for (mvg::Generator generator : mvg::kAllGenerators) {
        const std::vector<mvg::ParamLine>& table = mvg::paramLines(generator);
        const std::vector<mvg::ParamValue> values =
            mvg::parseParamFile(generator, bytes, QStringLiteral("/prog"));
        check(values.size() <= table.size());
        check(static_cast<qsizetype>(values.size()) <= lines.size());
        for (size_t i = 0; i < values.size(); ++i) {
            switch (table[i].kind) {
            case mvg::LineKind::List:
            case mvg::LineKind::WindowType:
                check(values[i].number >= 0 && values[i].number < table[i].listCount);
                break;
            case mvg::LineKind::Check:
                check(values[i].number == 0 || values[i].number == 1);
                break;
            case mvg::LineKind::FileName:
                check(values[i].text == lines[static_cast<qsizetype>(i)].trimmed());
                break;
            default:
                // A number in a whole-number field fits the field's type.
                if (table[i].whole != mvg::WholeType::None && rt::IsNumeric(values[i].text)) {
                    const double value = rt::CDbl(values[i].text);
                    check(table[i].whole == mvg::WholeType::Int16 ? std::abs(value) <= 32768.5
                                                                  : std::abs(value) <= 2147483648.5);
                }
                break;
            }
        }
        // A file made of the values read gives them back.
        QStringList texts;
        for (size_t i = 0; i < values.size(); ++i) {
            const mvg::LineKind kind = table[i].kind;
            const bool number = kind == mvg::LineKind::List || kind == mvg::LineKind::WindowType ||
                                kind == mvg::LineKind::Check;
            texts << (number ? QString::number(values[i].number) : values[i].text);
        }
        const std::vector<mvg::ParamValue> again =
            mvg::parseParamFile(generator, mvg::composeParamFile(texts), QStringLiteral("/prog"));
        check(again.size() >= values.size());
    }
    return 0;
}
