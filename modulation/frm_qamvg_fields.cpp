// The parameter fields checked as the user types, and the tabs' numbers of data vectors.

#include "modulation/field_rules.h"
#include "modulation/frm_qamvg.h"
#include "platform/os/sounds.h"
#include "platform/runtime/numeric_text.h"
#include "platform/ui/msgbox.h"

#include <limits>

using mvg::Generator;

void frmQAMVG::bindFieldChecks()
{
    using mvg::kAttenuationMessage, mvg::kCoefficientMessage, mvg::kRollOffMessage, mvg::kOutputBitsMessage;
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
        box->Change = [box = box, marker = marker] {
            marker->setVisible(mvg::outputFolderMissing(box->Text()));
        };

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
        box->KeyPress = [](int& key) { key = mvg::filterWholeNumberKey(key); };
    for (ui::TextBox* box :
         {&txtAttenuationVal, &txtAttenuationValSDPSK, &txtFiltROFact, &txtFiltROFactSDPSK, &txtKaiserWROF,
          &txtKaiserWROFQP, &txtKaiserWROFSDPSK, &txtModIndexGMSK, &txtNormBWGMSK})
        box->KeyPress = [](int& key) { key = mvg::filterDecimalKey(key); };
}

void frmQAMVG::checkRange(const RangeRule& rule)
{
    switch (mvg::judgeRange(rule.box->Text(), rule.integer, rule.min, rule.max)) {
    case mvg::RangeVerdict::NotNumeric:
        os::playSystemSound(QStringLiteral("SystemDefault"));
        rule.marker->setVisible(true);
        return;
    case mvg::RangeVerdict::OutOfRange:
        ui::MsgBox(rule.message, ui::vbInformation, QStringLiteral("Invalid Value"));
        rule.marker->setVisible(true);
        return;
    case mvg::RangeVerdict::InRange:
        break;
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

std::pair<const ui::TextBox*, const ui::TextBox*> frmQAMVG::countBoxes(Generator generator) const
{
    switch (generator) {
    case Generator::Qam:
        return {&txtNumSymbols, &txtFilterUpsampleFact};
    case Generator::Polar:
        return {&txtNumSymbolsQP, &txtFilterUpsampleFactQP};
    case Generator::Gmsk:
        return {&txtNumSymbolsGMSK, &txtUpSamplingFactGMSK};
    case Generator::Sdpsk:
        break;
    }
    return {&txtNumSymbolsSDPSK, &txtFilterUpsampleFactSDPSK};
}

std::pair<ui::Label*, ui::Label*> frmQAMVG::countLabel(Generator generator)
{
    switch (generator) {
    case Generator::Qam:
        return {&lblQAMOutputVects, &lblFieldErrQAM(10)};
    case Generator::Polar:
        return {&lblQPOutputVects, &lblFieldErrQP(10)};
    case Generator::Gmsk:
        return {&lblNumOutVectsGMSK, &lblFieldErrGE(8)};
    case Generator::Sdpsk:
        break;
    }
    return {&lblOutputVectsSDPSK, &lblFieldErrSDPSK(10)};
}

int32_t frmQAMVG::CalcVectors(Generator generator) const
{
    const auto [symbols, upsampling] = countBoxes(generator);
    return mvg::vectorCount(symbols->Text(), upsampling->Text());
}

int32_t frmQAMVG::CalcMaxSymbols(Generator generator, int32_t limit) const
{
    return mvg::largestSymbolCount(countBoxes(generator).second->Text(), limit);
}

void frmQAMVG::updateVects(Generator generator)
{
    const int32_t vectors = CalcVectors(generator);
    const int32_t most = CalcMaxSymbols(generator, mvg::kFifoVectors);
    maxSymbols_[static_cast<size_t>(generator)] = most;
    const mvg::VectorCountText text = mvg::describeVectorCount(vectors, most);
    const auto [label, marker] = countLabel(generator);
    label->setCaption(text.caption);
    label->setToolTipText(text.toolTip);
    label->Refresh();
    if (text.fifoWarning)
        ui::MsgBox(mvg::fifoWarningText(), ui::vbExclamation, QStringLiteral("Warning!"));
    marker->setVisible(text.marker);
}
