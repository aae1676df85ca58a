// The parameter fields checked as the user types, and the tabs' numbers of data vectors.

#include "board/text_util.h"
#include "board/utility.h"
#include "modulation/frm_qamvg.h"
#include "platform/os/sounds.h"
#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/msgbox.h"

#include <QtGlobal>
#include <cmath>
#include <limits>
#include <optional>

namespace {

using mvg::Generator;

// The evaluation boards' FIFO holds this many data vectors.
constexpr int32_t kFifoVectors = 65536;

const QString kAttenuationMessage = QStringLiteral("Attenuation value must be > 0 and < 1!");
const QString kCoefficientMessage = QStringLiteral("Filter Coefficient Resolution must be > 0 and < 30!");
const QString kRollOffMessage = QStringLiteral("Filter roll-off factor must be > 0 and < 1!");
const QString kOutputBitsMessage = QStringLiteral("Output quantization must be a positive integer value!");

// A box's text as a 32-bit whole number (ties to even), or nothing.
std::optional<int32_t> wholeNumber(const ui::TextBox& box)
{
    try {
        return rt::CLng(box.Text());
    } catch (const rt::RuntimeError&) {
        return std::nullopt;
    }
}

int filterIntegerKey(int key)
{
    return KeyFilterNoSign(KeyFilterSignedInt(key));
}

int filterDecimalKey(int key)
{
    return KeyFilterNoSign(KeyFilterNumeric2(key));
}

} // namespace

void frmQAMVG::bindFieldChecks()
{
    const std::vector<RangeRule> ranges = {
        {&txtAttenuationVal, false, 0, 1, kAttenuationMessage, &lblFieldErrQAM(11)},
        {&txtAttenuationValQP, false, 0, 1, kAttenuationMessage, &lblFieldErrQP(11)},
        {&txtAttenuationGMSK, false, 0, 1, kAttenuationMessage, &lblFieldErrGE(9)},
        {&txtAttenuationValSDPSK, false, 0, 1, kAttenuationMessage, &lblFieldErrSDPSK(9)},
        {&txtFilterCoefVal, true, 0, 30, kCoefficientMessage, &lblFieldErrQAM(4)},
        {&txtFilterCoefValQP, true, 0, 30, kCoefficientMessage, &lblFieldErrQP(4)},
        {&txtFilterCoefValSDPSK, true, 0, 30, kCoefficientMessage, &lblFieldErrSDPSK(3)},
        {&txtFiltROFact, false, 0, 1, kRollOffMessage, &lblFieldErrQAM(6)},
        {&txtFiltROFactQP, false, 0, 1, kRollOffMessage, &lblFieldErrQP(6)},
        {&txtFiltROFactSDPSK, false, 0, 1, kRollOffMessage, &lblFieldErrSDPSK(5)},
        {&txtNumOfOutBits, true, 1, std::numeric_limits<double>::infinity(), kOutputBitsMessage,
         &lblFieldErrQAM(9)},
    };
    for (const RangeRule& rule : ranges)
        rule.box->Change = [this, rule] { checkRange(rule); };

    const std::vector<CountRule> counts = {
        {&txtNumSymbols, Generator::Qam, true, &lblFieldErrQAM(0)},
        {&txtNumSymbolsQP, Generator::Polar, true, &lblFieldErrQP(0)},
        {&txtNumSymbolsGMSK, Generator::Gmsk, true, &lblFieldErrGE(0)},
        {&txtNumSymbolsSDPSK, Generator::Sdpsk, true, &lblFieldErrSDPSK(0)},
        {&txtFilterTAPs, Generator::Qam, false, &lblFieldErrQAM(3)},
        {&txtFilterTAPsQP, Generator::Polar, true, &lblFieldErrQP(3)},
        {&txtFilterUpsampleFact, Generator::Qam, false, &lblFieldErrQAM(5)},
        {&txtFilterUpsampleFactQP, Generator::Polar, true, &lblFieldErrQP(5)},
        {&txtFilterSpanValGMSK, Generator::Gmsk, true, nullptr},
        {&txtUpSamplingFactGMSK, Generator::Gmsk, true, nullptr},
        {&txtFilterTAPsSDPSK, Generator::Sdpsk, true, nullptr},
        {&txtFilterUpsampleFactSDPSK, Generator::Sdpsk, true, nullptr},
    };
    for (const CountRule& rule : counts)
        rule.box->Change = [this, rule] { checkCountField(rule); };

    const std::pair<ui::TextBox*, ui::Label*> outputs[] = {
        {&txtQAMVGOutputFile, &lblFieldErrQAM(14)},  {&txtOutputFileQP, &lblFieldErrQP(17)},
        {&txtPhaseOutputFileQP, &lblFieldErrQP(15)}, {&txtAMPOutputFileQP, &lblFieldErrQP(16)},
        {&txtOutputFileGMSKE, &lblFieldErrGE(10)},   {&txtOutputFileSDPSK, &lblFieldErrSDPSK(16)},
    };
    for (const auto& [box, marker] : outputs)
        box->Change = [this, box = box, marker = marker] { checkOutputFolder(*box, *marker); };

    for (ui::TextBox* box : {&txtNumSymbols,           &txtNumSymbolsQP,
                             &txtNumSymbolsGMSK,       &txtNumSymbolsSDPSK,
                             &txtFilterTAPs,           &txtFilterTAPsQP,
                             &txtFilterTAPsSDPSK,      &txtFilterUpsampleFact,
                             &txtFilterUpsampleFactQP, &txtFilterUpsampleFactSDPSK,
                             &txtUpSamplingFactGMSK,   &txtFilterCoefVal,
                             &txtFilterCoefValQP,      &txtFilterCoefValSDPSK,
                             &txtCoeficientResGMSK,    &txtFilterSpanValGMSK,
                             &txtNumOfOutBits,         &txtNumOfOutBitsQP,
                             &txtNumOfOutBitsGMSK,     &txtNumOfOutBitsSDPSK,
                             &txtGraphPoints,          &txtGraphPointsQP,
                             &txtGraphPointsGMSK,      &txtGraphPointsSDPSK,
                             &txtAmplitudeBitsQP,      &txtPhaseBitsQP})
        box->KeyPress = [](int& key) { key = filterIntegerKey(key); };
    for (ui::TextBox* box :
         {&txtAttenuationVal, &txtAttenuationValSDPSK, &txtFiltROFact, &txtFiltROFactSDPSK, &txtKaiserWROF,
          &txtKaiserWROFQP, &txtKaiserWROFSDPSK, &txtModIndexGMSK, &txtNormBWGMSK})
        box->KeyPress = [](int& key) { key = filterDecimalKey(key); };
}

void frmQAMVG::checkRange(const RangeRule& rule)
{
    const QString text = rule.box->Text();
    if (!rt::IsNumeric(text)) {
        os::playSystemSound(QStringLiteral("SystemDefault"));
        rule.marker->setVisible(true);
        return;
    }
    // A number too large for the conversion is out of range like any other.
    bool inRange = false;
    try {
        const double value = rule.integer ? static_cast<double>(rt::CInt(text)) : rt::CDbl(text);
        inRange = std::isfinite(value) && value >= rule.min && value <= rule.max;
    } catch (const rt::RuntimeError&) {
        inRange = false;
    }
    if (!inRange) {
        ui::MsgBox(rule.message, ui::vbInformation, QStringLiteral("Invalid Value"));
        rule.marker->setVisible(true);
        return;
    }
    rule.marker->setVisible(false);
}

void frmQAMVG::checkCountField(const CountRule& rule)
{
    if (rule.updateFirst)
        updateVects(rule.generator);
    if (rule.marker)
        rule.marker->setVisible(!rt::IsNumeric(rule.box->Text()));
    if (!rule.updateFirst)
        updateVects(rule.generator);
}

void frmQAMVG::checkOutputFolder(ui::TextBox& box, ui::Label& marker)
{
    // A bare name lies in the generator's folder, which is there.
    const QString folder = GetPathFromFileName(box.Text());
    marker.setVisible(!folder.isEmpty() && !DirExists(folder));
}

int32_t frmQAMVG::CalcVectors(Generator generator) const
{
    const ui::TextBox* symbols = nullptr;
    const ui::TextBox* upsampling = nullptr;
    switch (generator) {
    case Generator::Qam:
        symbols = &txtNumSymbols, upsampling = &txtFilterUpsampleFact;
        break;
    case Generator::Polar:
        symbols = &txtNumSymbolsQP, upsampling = &txtFilterUpsampleFactQP;
        break;
    case Generator::Gmsk:
        symbols = &txtNumSymbolsGMSK, upsampling = &txtUpSamplingFactGMSK;
        break;
    case Generator::Sdpsk:
        symbols = &txtNumSymbolsSDPSK, upsampling = &txtFilterUpsampleFactSDPSK;
        break;
    }
    const std::optional<int32_t> count = wholeNumber(*symbols);
    const std::optional<int32_t> factor = wholeNumber(*upsampling);
    if (!count || !factor)
        return -1;
    const int64_t vectors = 2 * static_cast<int64_t>(*count) * *factor;
    if (vectors > std::numeric_limits<int32_t>::max() || vectors < std::numeric_limits<int32_t>::min())
        return -1;
    return static_cast<int32_t>(vectors);
}

int32_t frmQAMVG::CalcMaxSymbols(Generator generator, int32_t limit) const
{
    const ui::TextBox* upsampling = nullptr;
    switch (generator) {
    case Generator::Qam:
        upsampling = &txtFilterUpsampleFact;
        break;
    case Generator::Polar:
        upsampling = &txtFilterUpsampleFactQP;
        break;
    case Generator::Gmsk:
        upsampling = &txtUpSamplingFactGMSK;
        break;
    case Generator::Sdpsk:
        upsampling = &txtFilterUpsampleFactSDPSK;
        break;
    }
    const std::optional<int32_t> factor = wholeNumber(*upsampling);
    if (!factor || *factor == 0)
        return -1;
    // Rounded towards zero: one symbol more would already give more vectors than the limit, and the Max
    // buttons promise a count the FIFO holds.
    return static_cast<int32_t>(static_cast<int64_t>(limit) / (2 * static_cast<int64_t>(*factor)));
}

void frmQAMVG::updateVects(Generator generator)
{
    ui::Label* label = nullptr;
    ui::Label* marker = nullptr;
    switch (generator) {
    case Generator::Qam:
        label = &lblQAMOutputVects, marker = &lblFieldErrQAM(10);
        break;
    case Generator::Polar:
        label = &lblQPOutputVects, marker = &lblFieldErrQP(10);
        break;
    case Generator::Gmsk:
        label = &lblNumOutVectsGMSK, marker = &lblFieldErrGE(8);
        break;
    case Generator::Sdpsk:
        label = &lblOutputVectsSDPSK, marker = &lblFieldErrSDPSK(10);
        break;
    }
    const int32_t vectors = CalcVectors(generator);
    const int32_t most = CalcMaxSymbols(generator, kFifoVectors);
    maxSymbols_[static_cast<size_t>(generator)] = most;
    if (vectors <= -1) {
        label->setCaption(QStringLiteral("Invalid Parameter!"));
        label->setToolTipText(QStringLiteral("Invalid Parameter!"));
        label->Refresh();
        marker->setVisible(true);
        return;
    }
    label->setCaption(QString::number(vectors));
    label->setToolTipText(QStringLiteral("Number of Data Vectors = ") + QString::number(vectors) +
                          QStringLiteral(" : ") + QStringLiteral("Max Symbols = ") + QString::number(most));
    label->Refresh();
    if (vectors <= kFifoVectors) {
        marker->setVisible(false);
        return;
    }
    ui::MsgBox(QStringLiteral("The output vectors exceed the ZR2250 and ZR4470 Evaluation Boards") +
                   QStringLiteral("\r\n") + QStringLiteral("65K FIFO size."),
               ui::vbExclamation, QStringLiteral("Warning!"));
    marker->setVisible(true);
}
