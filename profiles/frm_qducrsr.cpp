// The RAM segment window as a window: design properties, handler binding, its field table, opening and
// closing, the refresh, the greying per operating mode, the mode lists, LOAD and the ISFC line.

#include "profiles/frm_qducrsr.h"

#include "board/evalbd.h"
#include "board/globals.h"
#include "board/text_util.h"
#include "board/utility.h"
#include "boardui/form_names.h"
#include "shell/mdi_main.h"

#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <memory>

using profiles::ValueKind;

namespace {

constexpr uint32_t kNormalText = ui::colors::vbWindowText;
constexpr uint32_t kGreyText = ui::colors::vbGrayText;
constexpr uint32_t kOrange = 0x0080FF;
constexpr uint32_t kRed = 0x0000FF;
constexpr int16_t kRunModeKeepsRAM = 4;
constexpr int kSingleTone = 1;

struct ModeItem {
    const char* text;
    int code;
};
constexpr ModeItem kModeItems[] = {
    {"Ramp Up", 1},
    {"Bi-directional Ramp", 2},
    {"Continuous Bi-directional Ramp", 3},
    {"Continuous Re - circulate", 4},
};

// Sets the text colour unless this window already gave the control that colour: the refresh after every
// RAM transfer repaints some thirty controls, and setting a palette is not free.
void paint(std::unordered_set<const ui::Control*>& painted, ui::Control& control, bool grey)
{
    const uint32_t colour = grey ? kGreyText : kNormalText;
    if (control.ForeColor() == colour && painted.contains(&control))
        return;
    control.setForeColor(colour);
    painted.insert(&control);
}

template <typename... Controls>
void paintAll(std::unordered_set<const ui::Control*>& painted, bool grey, Controls&... controls)
{
    (paint(painted, controls, grey), ...);
}

// The first entry of the list carrying `code`; -1 when none does.
int indexOfCode(const ui::ComboBox& list, uint64_t code)
{
    for (int k = 0; k < list.ListCount(); ++k)
        if (static_cast<uint64_t>(list.ItemData(k)) == code)
            return k;
    return -1;
}

} // namespace

frmQDUCRSR::frmQDUCRSR() : RegisterWindow(FormName)
{
    setMdiChild(true);
    setDesignProperties();
    setFileDesignProperties();
    buildFieldTable();
    bindHandlers();
    bindFileHandlers();
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
    registerProc(formnames::UdControlState, [this] { UdControlState(); });
    registerProc(formnames::SetMode, [this] { SetMode(); });
}

void frmQDUCRSR::setDesignProperties()
{
    setCaption(QStringLiteral("QDUC RAM Control"));
    chkEnableRAM.setCaption(QStringLiteral("Enable RAM"));
    chkEnQDUCRAMEval.setCaption(QStringLiteral("QDUC RAM Destination"));
    for (int i = 0; i < kSegments; ++i) {
        fraProfileRAM(i).setCaption(QStringLiteral("RAM Segment %1").arg(i));
        lblRAMSegBeginAddr(i).setCaption(QStringLiteral("Beginning Address:"));
        txtRAMSegBeginAddr(i).setText(QStringLiteral("0"));
        txtRAMSegBeginAddr(i).setToolTipText(
            QStringLiteral("Specify the beginning address for this RAM segment"));
        lblRAMSegFinalAddr(i).setCaption(QStringLiteral("Final Address:"));
        txtRAMSegFinalAddr(i).setToolTipText(
            QStringLiteral("Specify the final address for this RAM segment"));
        lblRAMSegAddrRampRate(i).setCaption(QStringLiteral("Address Step Rate:"));
        txtRAMSegAddrRampRate(i).setText(QStringLiteral("0.0000"));
        txtRAMSegAddrRampRate(i).setToolTipText(QStringLiteral("Specify the address ramp rate"));
        lblRAMMicro(i).setCaption(QStringLiteral("\u00B5"));
        lblRAMSec(i).setCaption(QStringLiteral("s"));
        lblRAMSegModCtrl(i).setCaption(QStringLiteral("Mode Control:"));
        cmbRAMSegModeControl(i).setToolTipText(QStringLiteral("Select the RAM mode"));
        lblMCErr(i).setBackColor(kRed);
        lblMCErr(i).setVisible(false);
        lblISFCHilight(i).setBackColor(kOrange);
        lblISFCHilight(i).setVisible(false);
    }
    cmdSetISFCPin(1).setCaption(QStringLiteral("Set ISFC Pin High"));
    cmdSetISFCPin(1).setToolTipText(QStringLiteral("Set the ISFC pin high"));
    cmdSetISFCPin(0).setCaption(QStringLiteral("Set ISFC Pin Low"));
    cmdSetISFCPin(0).setToolTipText(QStringLiteral("Set the ISFC pin low"));
    cmdLoad.setCaption(QStringLiteral("LOAD"));
    lblLoadFlash.setBackColor(kOrange);
    lblLoadFlash.setVisible(false);
}

void frmQDUCRSR::buildFieldTable()
{
    // Whoever changes the RAM enable, the user or a refresh, the Profiles window shows the form it takes.
    fields_.check(chkEnableRAM, kRAMEnable, [this] { chkEnableRAM_Click(); }).afterOnRefresh = true;
    fields_.check(chkEnQDUCRAMEval, kQDUCRAMDest, [this] { chkEnQDUCRAMEval_Click(); });
    for (int i = 0; i < kSegments; ++i) {
        ui::ComboBox& list = cmbRAMSegModeControl(i);
        regwin::FieldRow& mode =
            fields_.combo(list, modeField(i), [this, i] { cmbRAMSegModeControl_Click(i); });
        mode.indexOf = [&list](uint64_t code) { return indexOfCode(list, code); };
        mode.valueOf = [&list](int index) { return static_cast<uint64_t>(list.ItemData(index)); };
        // Only digits reach the address boxes; the step rate's range reads from 0 up.
        values_.addTo(fields_, {.box = &txtRAMSegBeginAddr(i),
                                .kind = ValueKind::Address,
                                .field = beginAddrField(i),
                                .digitsOnly = true});
        values_.addTo(fields_, {.box = &txtRAMSegFinalAddr(i),
                                .kind = ValueKind::Address,
                                .field = finalAddrField(i),
                                .digitsOnly = true});
        values_.addTo(fields_, {.box = &txtRAMSegAddrRampRate(i),
                                .kind = ValueKind::RampRate,
                                .field = rampRateField(i),
                                .caption = QStringLiteral("Edit RAM Address Ramp Rate"),
                                .rateName = QStringLiteral("Address Step Rate"),
                                .rangeFromLongest = false});
    }
    fields_.bindClicks();
    // The window's bits: those of its table and the segment bits no control shows, so both segment
    // registers whole and of CFR1 the RAM enable and destination only.
    indicateLoadOn(lblLoadFlash,
                   {unusedHighField(0), unusedLowField(0), unusedHighField(1), unusedLowField(1)});
}

void frmQDUCRSR::bindHandlers()
{
    using ui::TextBox;
    cmdSetISFCPin.bind(&ui::CommandButton::Click, this, &frmQDUCRSR::cmdSetISFCPin_Click);
    ui::bind(cmdLoad.Click, this, &frmQDUCRSR::cmdLoad_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmQDUCRSR::tmrLoadFlash_Timer);
}

// ---- opening and closing ----

void frmQDUCRSR::Form_Load()
{
    cmbLoadOptions.setListIndex(0);
    cmbDumpDataFormat.setListIndex(0);
    RefreshFormVals();
}

// ---- refresh ----

void frmQDUCRSR::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    fields_.refresh();
    for (int i = 0; i < kSegments; ++i) {
        BuildModeControlList(i, chkEnQDUCRAMEval.Value());
        showModeMarker(i);
    }
    showISFC();
    UdControlState();
}

void frmQDUCRSR::BuildModeControlList(int segment, int destination)
{
    ui::ComboBox& list = cmbRAMSegModeControl(segment);
    regwin::ScopedFlag refreshing(bRefreshing_);
    list.Clear();
    for (const ModeItem& item : kModeItems) {
        if (item.code > 2 && destination == 0)
            break;
        list.AddItem(QString::fromLatin1(item.text));
        list.setItemData(list.ListCount() - 1, item.code);
    }
    list.setListIndex(indexOfCode(list, modeField(segment).get()));
}

void frmQDUCRSR::showModeMarker(int segment)
{
    lblMCErr(segment).setVisible(cmbRAMSegModeControl(segment).ListIndex() < 0);
}

void frmQDUCRSR::showISFC()
{
    const int line = goEvalBd && goEvalBd->ISFC() != 0 ? 1 : 0;
    for (int i = 0; i < kSegments; ++i)
        lblISFCHilight(i).setVisible(i == line);
}

// ---- greying ----

void frmQDUCRSR::UdControlState()
{
    if (!goEvalBd)
        return;
    const QString saveName = txtRAMSaveFile.Text();
    const QString loadName = txtQDRAMFile.Text();
    cmdViewSavedFile.setEnabled(!saveName.isEmpty() && FileExists(saveName));

    const int mode = static_cast<int>(kOperatingMode.get());
    const bool ramOn = kRAMEnable.get() == 1;
    const bool singleTone = mode == kSingleTone;
    paint(painted_, chkEnableRAM, singleTone);
    paint(painted_, chkEnQDUCRAMEval, singleTone || mode >= 2 || !ramOn);
    for (int i = 0; i < kSegments; ++i) {
        const bool segmentGrey = singleTone || !ramOn;
        const bool modeGrey = segmentGrey || modeField(i).get() == 0;
        paintAll(painted_, segmentGrey, fraProfileRAM(i), lblRAMSegBeginAddr(i), txtRAMSegBeginAddr(i),
                 lblRAMSegModCtrl(i), cmbRAMSegModeControl(i));
        paintAll(painted_, modeGrey, lblRAMSegFinalAddr(i), txtRAMSegFinalAddr(i), lblRAMSegAddrRampRate(i),
                 txtRAMSegAddrRampRate(i), lblRAMSec(i), lblRAMMicro(i));
    }
    // The load frame is greyed in single tone only; every other mode gives it its normal colour back.
    paintAll(painted_, singleTone, fraRAMFile, lblLoadRAMTextFile, txtQDRAMFile);

    if (mode == 0) {
        cmdLoadRAMFile.setEnabled(ramOn && !loadName.isEmpty() && FileExists(loadName));
        cmdSaveRAMFile.setEnabled(ramOn && !saveName.isEmpty());
    } else if (singleTone) {
        cmdLoadRAMFile.setEnabled(false);
    }
}

// ---- check boxes and mode lists ----

void frmQDUCRSR::chkEnableRAM_Click()
{
    ui::Forms::callIfLoaded(formnames::frmProfile, formnames::RefreshFormVals);
    UdControlState();
}

void frmQDUCRSR::chkEnQDUCRAMEval_Click()
{
    for (int i = 0; i < kSegments; ++i) {
        BuildModeControlList(i, chkEnQDUCRAMEval.Value());
        showModeMarker(i);
    }
}

void frmQDUCRSR::cmbRAMSegModeControl_Click(int index)
{
    UdControlState();
    lblMCErr(index).setVisible(false);
}

// ---- LOAD ----

void frmQDUCRSR::cmdLoad_Click()
{
    regwin::LoadOptions options;
    // Single tone outside run mode 4 takes no RAM: the pending bit decides (the box may not show a change
    // another window made), and the box follows it. Only a load that goes ahead changes them.
    options.beforeFirst = [this] {
        if (kOperatingMode.get() != kSingleTone || giRunMode == kRunModeKeepsRAM)
            return;
        if (kRAMEnable.get() == 1) {
            kRAMEnable.set(0);
            // A box that showed the RAM on runs its effects as it clears; one that did not, here.
            const bool shownOn = chkEnableRAM.Value() == 1;
            {
                regwin::ScopedFlag refreshing(bRefreshing_);
                chkEnableRAM.setValue(0);
            }
            if (!shownOn)
                chkEnableRAM_Click();
        }
        if (kDigitalRampEnable.get() == 1)
            kDigitalRampEnable.set(0);
    };
    // An I/O update after each register, not once at the end.
    options.strobeEach = true;
    loadWindow(cmdLoad, {kCFR1, ramSegmentRegister(0), ramSegmentRegister(1)}, options);
}

// ---- ISFC line ----

void frmQDUCRSR::cmdSetISFCPin_Click(int index)
{
    if (goEvalBd) {
        goEvalBd->setISFC(index);
        goEvalBd->USBWritePortBuffVal(kPortA);
    }
    for (int i = 0; i < kSegments; ++i)
        lblISFCHilight(i).setVisible(i == index);
    ui::Forms::callIfLoaded(formnames::frmDebug, formnames::UpdatePortVals);
}
