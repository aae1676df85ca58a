// The OSK Control window as a register window: its field table, the destination list, LOAD and its
// indicator, the refresh from the pending map, and loading and closing.

#include "sweep/frm_freq_and_sweep.h"
#include "board/chip_registers.h"

#include "board/evalbd.h"
#include "board/form_names.h"
#include "board/globals.h"
#include "board/text_util.h"
#include "boardui/text_selection.h"
#include "profiles/sys_clock.h"
#include "shell/frm_graphics.h"
#include "shell/mdi_main.h"

#include "platform/ui/app.h"
#include "platform/ui/forms.h"

namespace {

// LOAD's registers, in the order the chip takes them.
constexpr std::initializer_list<int16_t> kLoadOrder = {kCFR1, kCFR2, kFTW, kPOW, kASF, kLSPR, kLSDPR, kLSRR};
// Registers the window owns whole; of CFR1 and CFR2 only its own bits count for the indicator.
const std::vector<int16_t> kWholeRegisters = {kFTW, kPOW, kASF, kLSPR, kLSDPR, kLSRR};
const std::vector<RegisterField> kSharedBits = {
    regBit(kCFR1, 23), regBit(kCFR1, 15),  regBit(kCFR1, 14), regBit(kCFR1, 12),
    regBit(kCFR1, 10), kOutputShiftKeying, regBit(kCFR1, 8),  RegisterField{kCFR2, 21, 17}};

} // namespace

frmFreqAndSweep::frmFreqAndSweep()
    : Form(FormName), indicator_(lblLoadFlash, [this] { return loadPending(); }),
      values_(profiles::sysClockText, [this] { focusLoad(); })
{
    setMdiChild(true);
    setDesignProperties();
    buildFieldTable();
    buildValueFields();
    bindHandlers();
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
    registerProc(formnames::UpdateFreqsAndRRs, [this] { UpdateFreqsAndRRs(); });
    registerProc(formnames::UdStatusIndicators, [this] { UdStatusIndicators(); });
    registerProc(formnames::UdControlState, [this] { UdControlState(); });
    registerProc(formnames::SetMode, [this] { SetMode(); });
}

frmFreqAndSweep::~frmFreqAndSweep() = default;

void frmFreqAndSweep::buildFieldTable()
{
    auto controlState = [this] { UdControlState(); };
    fields_.check(chkAutoASFEnable, regBit(kCFR1, 8), controlState);
    // Whoever changes output shift keying, the user or a refresh, the Profiles window greys to match.
    fields_
        .check(chkEnableASF, kOutputShiftKeying,
               [this] {
                   UdControlState();
                   ui::Forms::callIfLoaded(formnames::frmProfile, formnames::UdControlState);
               })
        .afterOnRefresh = true;
    fields_.check(chkLoadARRIOU, regBit(kCFR1, 10));
    fields_.check(chkClrFreqAccum, regBit(kCFR1, 12));
    fields_.check(chkAutoClrFreqAccum, regBit(kCFR1, 14));
    fields_.check(chkLoadSRRonIOUD, regBit(kCFR1, 15));
    fields_.check(chkManualOSKExtCtrl, regBit(kCFR1, 23), controlState);
    fields_.check(chkLSNoDwellLow, regBit(kCFR2, 17));
    fields_.check(chkLSNoDwellHigh, regBit(kCFR2, 18));
    fields_.check(chkEnLinSweep, kDigitalRampEnable);
    fields_.list(lstLSDest, {kCFR2, 21, 20});
    fields_.combo(cmbASKIncDecSize, kAmplitudeStepSize);
    fields_.bindClicks();
}

void frmFreqAndSweep::bindHandlers()
{
    // The list's frame change runs also while refreshing.
    ui::bind(lstLSDest.Click, this, &frmFreqAndSweep::lstLSDest_Click);
    ui::bind(optSweepDwn.Click, this, &frmFreqAndSweep::optSweepDwn_Click);
    ui::bind(optSweepUp.Click, this, &frmFreqAndSweep::optSweepUp_Click);
    ui::bind(chkLSHold.Click, this, &frmFreqAndSweep::chkLSHold_Click);
    ui::bind(chkOSKPin.Click, this, &frmFreqAndSweep::chkOSKPin_Click);
    ui::bind(cmdLoad.Click, this, &frmFreqAndSweep::cmdLoad_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmFreqAndSweep::tmrLoadFlash_Timer);
    ui::bind(vscAmpScaleSpinST.Change, this, &frmFreqAndSweep::vscAmpScaleSpinST_Change);
    ui::bind(vscPhaseOSpinST.Change, this, &frmFreqAndSweep::vscPhaseOSpinST_Change);
    ui::bind(txtPhOSpinStepST.KeyPress, this, &frmFreqAndSweep::txtPhOSpinStepST_KeyPress);
    txtPhOSpinStepST.GotFocus = [this] { SelectAllText(txtPhOSpinStepST); };
}

// ---- the destination list ----

void frmFreqAndSweep::lstLSDest_Click()
{
    if (!bRefreshing)
        fields_.store(lstLSDest);
    showDestination(lstLSDest.ListIndex());
}

void frmFreqAndSweep::showDestination(int index)
{
    // CFR2 bits 21:20 = 3 has no entry: nothing selected, and the frames stay as they are.
    if (index < 0 || index > 2)
        return;
    fraMsg.setVisible(index != 0);
    SetGUISweepType(static_cast<int16_t>(index));
    RefreshLSParmDisplays();
}

void frmFreqAndSweep::SetGUISweepType(int16_t sweepType)
{
    for (ui::Frame& frame : fraSweepWord0)
        frame.setVisible(frame.Index() == sweepType);
    for (ui::Frame& frame : fraSweepWord1)
        frame.setVisible(frame.Index() == sweepType);
}

// ---- LOAD ----

void frmFreqAndSweep::cmdLoad_Click()
{
    regwin::runLoad(cmdLoad, indicator_, kLoadOrder);
}

bool frmFreqAndSweep::loadPending() const
{
    if (regwin::LoadIndicator::registers(kWholeRegisters)())
        return true;
    return regwin::LoadIndicator::fields(kSharedBits)();
}

void frmFreqAndSweep::tmrLoadFlash_Timer()
{
    indicator_.tick();
}

// ---- refresh ----

void frmFreqAndSweep::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    regwin::ScopedFlag refreshing(bRefreshing);
    fields_.refresh();
    // Setting an unchanged selection raises no Click here: the frames and the ramp views follow explicitly.
    showDestination(lstLSDest.ListIndex());
    for (const profiles::ValueRow& row : values_.rows())
        values_.show(row, row.field.get());
    if (goEvalBd->LSCTL() == 1)
        optSweepUp.setValue(true);
    else
        optSweepDwn.setValue(true);
    chkOSKPin.setValue(goEvalBd->OSK() == 1 ? 1 : 0);
    chkLSHold.setValue(goEvalBd->LSHOLD() == 1 ? 1 : 0);
    UdControlState();
}

void frmFreqAndSweep::UpdateFreqsAndRRs()
{
    // Without a clock the texts stay as they are, but for a word that changed since it was shown.
    for (const profiles::ValueRow& row : values_.rows())
        if (row.kind == profiles::ValueKind::Frequency || row.kind == profiles::ValueKind::RampRate)
            values_.show(row, values_.tagWord(row));
}

void frmFreqAndSweep::RefreshLSParmDisplays()
{
    if (!goEvalBd)
        return;
    for (const profiles::ValueRow& row : values_.rows())
        if (row.field.addr == 0x0B || row.field.addr == 0x0C)
            values_.show(row, row.field.get());
}

// ---- loading and closing ----

void frmFreqAndSweep::Form_Load()
{
    imgLSFinished.setPicture(ui::form<frmGraphics>().imgGreenLed(0).Picture());
    UpdateWindowMetrics();
    SetMode();
    RefreshFormVals();
}
