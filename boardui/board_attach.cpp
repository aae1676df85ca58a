// Board attach and detach as the USB watch sees them, and the refresh of every window.

#include "boardui/board_attach.h"
#include "boardui/form_names.h"

#include "board/board_flags.h"
#include "board/evalbd.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/forms.h"

#include <exception>

namespace {

void mainWindowCall(const QString& procedure)
{
    ui::Forms::callIfLoaded(formnames::mdiMain, procedure);
}

// The character at a 1-based position of a register's bit string as 0 or 1.
int16_t bitChar(const QString& bits, int position)
{
    return position >= 1 && position <= bits.size() && bits[position - 1] == QLatin1Char('1') ? 1 : 0;
}

} // namespace

void ebOnBoardConnect()
{
    mainWindowCall(formnames::UpdateUSBStat);
    ebInitBoard();
    gbHasFIFO = goEvalBd != nullptr && goEvalBd->USBDetectFIFO();
    mainWindowCall(formnames::UpdateFIFOStat);
}

void ebOnBoardDisconnect()
{
    mainWindowCall(formnames::UpdateUSBStat);
    mainWindowCall(formnames::UpdateFIFOStat);
}

void ebInitBoard()
{
    if (goEvalBd != nullptr) {
        const int16_t found = goEvalBd->DetectSiliconRev();
        if (found != 0) {
            if (goEvalBd->SiliconRev() == 2)
                goEvalBd->InitRegMap(2);
        } else {
            goEvalBd->InitRegMap(3);
        }
    }
    ebRefreshAllForms();
}

void ebRefreshAllForms()
{
    // A window whose refresh fails must not keep the others from theirs.
    for (ui::Form* form : ui::Forms::loaded()) {
        if (!form->IsLoaded() || !form->hasProc(formnames::RefreshFormVals))
            continue;
        try {
            form->callProc(formnames::RefreshFormVals);
        } catch (const std::exception&) {
        }
    }
}

void ebGetDUTModes(int16_t& opMode, int16_t& ramEnable, int16_t& rampEnable, int16_t& sxiMode)
{
    opMode = ramEnable = rampEnable = sxiMode = 0;
    if (goEvalBd == nullptr)
        return;
    const QString cfr1 = goEvalBd->GetRegMapValue(0, 0x00);
    const QString cfr2 = goEvalBd->GetRegMapValue(0, 0x01);
    opMode = static_cast<int16_t>(bitChar(cfr1, 7) * 2 + bitChar(cfr1, 8));
    ramEnable = bitChar(cfr1, 1);
    rampEnable = bitChar(cfr2, 13);
    sxiMode = bitChar(cfr2, 1);
}

double ebRateFormula(int16_t code, double resistance)
{
    if (resistance == 0)
        throw rt::RuntimeError::standard(rt::errDivisionByZero, QStringLiteral("ebRateFormula"));
    return (code / 96.0 + 1.0) * (86.4 / resistance);
}
