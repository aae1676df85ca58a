#include "modulation/param_files.h"

#include "platform/runtime/locale_info.h"
#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"

#include <optional>

namespace mvg {

namespace {

constexpr int kQamLevels = 8;
constexpr int kPolarLevels = 7;
constexpr int kFilterTypes = 2;
constexpr int kWindowTypes = 8;
constexpr int kModTypes = 2;
constexpr int kOutputFormats = 6;

using K = LineKind;
constexpr WholeType I16 = WholeType::Int16;
constexpr WholeType I32 = WholeType::Int32;

const std::vector<ParamLine> kQamLines = {
    {QStringLiteral("txtNumSymbols"), K::Trimmed, 0, I32},
    {QStringLiteral("lstQAMLevel"), K::List, kQamLevels},
    {QStringLiteral("lstFilterType"), K::List, kFilterTypes},
    {QStringLiteral("txtFilterTAPs"), K::Trimmed, 0, I32},
    {QStringLiteral("txtFilterCoefVal"), K::Decimal, 0, I16},
    {QStringLiteral("txtFilterUpsampleFact"), K::Trimmed, 0, I32},
    {QStringLiteral("txtFiltROFact"), K::Decimal},
    {QStringLiteral("lstFilterWindowType"), K::WindowType, kWindowTypes},
    {QStringLiteral("txtKaiserWROF"), K::Decimal},
    {QStringLiteral("txtNumOfOutBits"), K::Trimmed, 0, I16},
    {QStringLiteral("txtQAMVGOutputFile"), K::OutputFile},
    {QStringLiteral("lstQAMOutputDataFormat"), K::List, kOutputFormats},
    {QStringLiteral("chkDebugModeQAM"), K::Check},
    {QStringLiteral("txtGraphPoints"), K::Trimmed, 0, I32},
    {QStringLiteral("txtAttenuationVal"), K::Decimal},
};

const std::vector<ParamLine> kPolarLines = {
    {QStringLiteral("txtNumSymbolsQP"), K::Text, 0, I32},
    {QStringLiteral("lstQAMLevelQP"), K::List, kPolarLevels},
    {QStringLiteral("lstFilterTypeQP"), K::List, kFilterTypes},
    {QStringLiteral("txtFilterTAPsQP"), K::Text, 0, I32},
    {QStringLiteral("txtFilterCoefValQP"), K::Text, 0, I16},
    {QStringLiteral("txtFilterUpsampleFactQP"), K::Text, 0, I32},
    {QStringLiteral("txtFiltROFactQP"), K::Decimal},
    {QStringLiteral("lstFilterWindowTypeQP"), K::WindowType, kWindowTypes},
    {QStringLiteral("txtKaiserWROFQP"), K::Decimal},
    {QStringLiteral("txtNumOfOutBitsQP"), K::Text, 0, I32},
    {QStringLiteral("chkDebugModeQP"), K::Check},
    {QStringLiteral("txtPhaseBitsQP"), K::Text, 0, I32},
    {QStringLiteral("txtAmplitudeBitsQP"), K::Text, 0, I32},
    {QStringLiteral("txtPhaseOutputFileQP"), K::FileName},
    {QStringLiteral("txtAMPOutputFileQP"), K::FileName},
    {QStringLiteral("txtOutputFileQP"), K::FileName},
    {QStringLiteral("txtGraphPointsQP"), K::Text, 0, I32},
    {QStringLiteral("txtAttenuationValQP"), K::Decimal},
};

const std::vector<ParamLine> kGmskLines = {
    {QStringLiteral("txtNumSymbolsGMSK"), K::Text, 0, I32},
    {QStringLiteral("lstModTypeGMSK"), K::List, kModTypes},
    {QStringLiteral("txtFilterSpanValGMSK"), K::Text, 0, I32},
    {QStringLiteral("txtCoeficientResGMSK"), K::Text, 0, I32},
    {QStringLiteral("txtUpSamplingFactGMSK"), K::Text, 0, I32},
    {QStringLiteral("txtNormBWGMSK"), K::Decimal},
    {QStringLiteral("txtModIndexGMSK"), K::Decimal},
    {QStringLiteral("txtNumOfOutBitsGMSK"), K::Text, 0, I32},
    {QStringLiteral("chkDebugModeGE"), K::Check},
    {QStringLiteral("chkFullLengthDataGE"), K::Check},
    {QStringLiteral("txtOutputFileGMSKE"), K::FileName},
    {QStringLiteral("lstOutputDataFormatGMSK"), K::List, kOutputFormats},
    {QStringLiteral("txtGraphPointsGMSK"), K::Text, 0, I32},
    {QStringLiteral("txtAttenuationGMSK"), K::Decimal},
};

const std::vector<ParamLine> kSdpskLines = {
    {QStringLiteral("txtNumSymbolsSDPSK"), K::Text, 0, I32},
    {QStringLiteral("lstFilterTypeSDPSK"), K::List, kFilterTypes},
    {QStringLiteral("txtFilterTAPsSDPSK"), K::Text, 0, I32},
    {QStringLiteral("txtFilterCoefValSDPSK"), K::Text, 0, I16},
    {QStringLiteral("txtFilterUpsampleFactSDPSK"), K::Decimal, 0, I32},
    {QStringLiteral("txtFiltROFactSDPSK"), K::Decimal},
    {QStringLiteral("lstFilterWindowTypeSDPSK"), K::WindowType, kWindowTypes},
    {QStringLiteral("txtKaiserWROFSDPSK"), K::Decimal},
    {QStringLiteral("txtNumOfOutBitsSDPSK"), K::Text, 0, I32},
    {QStringLiteral("chkDebugModeSDPSK"), K::Check},
    {QStringLiteral("txtAttenuationValSDPSK"), K::Decimal},
    {QStringLiteral("txtGraphPointsSDPSK"), K::Text, 0, I32},
    {QStringLiteral("txtOutputFileSDPSK"), K::FileName},
    {QStringLiteral("lstOutputDataFormatSDPSK"), K::List, kOutputFormats},
};

// A list or check-box line as a whole number within [0, count), or nothing.
std::optional<int> indexOf(const QString& text, int count)
{
    try {
        if (!rt::IsNumeric(text))
            return std::nullopt;
        const int16_t value = rt::CInt(text);
        if (value < 0 || value >= count)
            return std::nullopt;
        return value;
    } catch (const rt::RuntimeError&) {
        return std::nullopt;
    }
}

// A number in a whole-number field that its type cannot hold (text that is no number is left to the box).
bool beyondType(const QString& text, WholeType type)
{
    if (type == WholeType::None || !rt::IsNumeric(text))
        return false;
    try {
        if (type == WholeType::Int16)
            rt::CInt(text);
        else
            rt::CLng(text);
        return false;
    } catch (const rt::RuntimeError&) {
        return true;
    }
}

} // namespace

const std::vector<ParamLine>& paramLines(Generator generator)
{
    switch (generator) {
    case Generator::Qam:
        return kQamLines;
    case Generator::Polar:
        return kPolarLines;
    case Generator::Gmsk:
        return kGmskLines;
    case Generator::Sdpsk:
        break;
    }
    return kSdpskLines;
}

QString ExportParam(const QString& text)
{
    QString out = text.trimmed();
    out.replace(rt::numberLocale().decimalSeparator, QLatin1Char('.'));
    return out;
}

QString CleanParam(const QString& text)
{
    QString out = text.trimmed();
    out.replace(QLatin1Char('.'), rt::numberLocale().decimalSeparator);
    return out;
}

QByteArray composeParamFile(const QStringList& values)
{
    QByteArray bytes;
    for (const QString& value : values) {
        bytes += value.toLocal8Bit();
        bytes += "\r\n";
    }
    return bytes;
}

QStringList splitFileLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        const char c = bytes[at];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(QString::fromLocal8Bit(bytes.mid(start, at - start)));
        if (c == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n')
            ++at;
        start = at + 1;
    }
    if (start < bytes.size())
        lines.append(QString::fromLocal8Bit(bytes.mid(start)));
    return lines;
}

std::vector<ParamValue> parseParamFile(Generator generator, const QByteArray& bytes,
                                       const QString& programFolder)
{
    const QStringList lines = splitFileLines(bytes);
    const std::vector<ParamLine>& table = paramLines(generator);
    std::vector<ParamValue> values;
    for (size_t i = 0; i < table.size() && static_cast<qsizetype>(i) < lines.size(); ++i) {
        const QString& line = lines[static_cast<qsizetype>(i)];
        ParamValue value;
        switch (table[i].kind) {
        case K::List:
        case K::WindowType:
        case K::Check: {
            const std::optional<int> index =
                indexOf(CleanParam(line), table[i].kind == K::Check ? 2 : table[i].listCount);
            if (!index)
                return values;
            value.number = *index;
            break;
        }
        case K::FileName:
            value.text = line.trimmed();
            break;
        case K::OutputFile:
            value.text = line.trimmed();
            if (value.text.isEmpty())
                value.text = programFolder + QLatin1Char('/') + kDefaultModulationFile;
            break;
        case K::Text:
        case K::Trimmed:
        case K::Decimal:
            value.text = CleanParam(line);
            if (beyondType(value.text, table[i].whole))
                return values;
            break;
        }
        values.push_back(value);
    }
    return values;
}

} // namespace mvg
