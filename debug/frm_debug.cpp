// The register debug window: captions, handler binding, loading and closing, the run mode and the refresh
// that re-reads ports, lamps and the selected register.

#include "debug/frm_debug.h"

#include "board/evalbd.h"
#include "board/form_names.h"
#include "board/globals.h"
#include "debug/frm_debug_reg_list.h"
#include "shell/mdi_main.h"
#include "shell/refresh_key_preview.h"
#include "shell/register_window.h"

#include "platform/ui/forms.h"

#include <QStyle>
#include <QWidget>

#include <array>
#include <initializer_list>

namespace {

// The window's width in every run mode: 8265 twips.
constexpr int kWindowWidth = 8265 / 15;

constexpr std::array<const char*, 8> kBitRanges = {"<7:0>",   "<15:8>",  "<23:16>", "<31:24>",
                                                   "<39:32>", "<47:40>", "<55:48>", "<63:56>"};
constexpr std::array<const char*, 6> kPortACaptions = {"USB_Status", "CSB",       "I/O Reset",
                                                       "Reset DUT",  "ExtPwrDwn", "ISFC"};
// The profile-pin boxes are captioned one higher than the lines they drive ("P1" drives P0).
constexpr std::array<const char*, 8> kPortECaptions = {"P1",         "P2",     "P3",    "OSK",
                                                       "I/O Update", "LSHOLD", "LSCTL", "I/OUpdateEn"};
struct FlagLamp {
    int bit;
    const char* caption;
};
constexpr std::array<FlagLamp, 5> kFlagLamps = {{{3, "Linear Sweep Over"},
                                                 {4, "RAM Sweep Over"},
                                                 {5, "Sync Sample Error"},
                                                 {6, "PLL Lock"},
                                                 {7, "CCI Over Flow"}}};

} // namespace

frmDebug::frmDebug() : Form(FormName)
{
    setMdiChild(true);
    for (const FlagLamp& lamp : kFlagLamps) {
        imgDUTFlagsPD.add(lamp.bit);
        lblDUTFlagsPD.add(lamp.bit);
    }
    setCaptions();
    bindHandlers();

    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
    registerProc(formnames::UdStatusIndicators, [this] { UdStatusIndicators(); });
    registerProc(formnames::UpdateSPIStatus, [this] { UpdateSPIStatus(); });
    registerProc(formnames::UpdatePortVals, [this] { UpdatePortVals(); });
    registerProc(formnames::UpdateOtherForms, [this] { UpdateOtherForms(); });
    registerProc(formnames::SetMode, [this] { SetMode(); });
    registerProc(formnames::PopulateRegAddrs, [this] { PopulateRegAddrs(); });
}

frmDebug::~frmDebug() = default;

void frmDebug::setCaptions()
{
    setCaption(QStringLiteral("Debug"));
    lblRegAddr(0).setCaption(QStringLiteral("Reg Addr:"));
    for (int i = 0; i < kByteRows; ++i) {
        lblBitRange(i).setCaption(QString::fromLatin1(kBitRanges[static_cast<size_t>(i)]));
        lblHex(i).setCaption(QStringLiteral("Hex"));
        txtByte(i).setMaxLength(8);
        txtByte(i).setText(QStringLiteral("00000000"));
        txtHexDataByte(i).setMaxLength(2);
        txtHexDataByte(i).setText(QStringLiteral("00"));
    }
    cmdLoadReg.setCaption(QStringLiteral("Load Reg"));
    cmdReadReg.setCaption(QStringLiteral("Read Reg"));
    chkAutoUpdate.setCaption(QStringLiteral("Auto I/O Update"));
    chkAutoUpdate.setValue(1);
    cmdSendUpdate.setCaption(QStringLiteral("I/O Update"));
    cmdSendUpdate.setToolTipText(QStringLiteral("Performs a manual Reg Update."));

    fraMisc.setCaption(QStringLiteral("Misc"));
    cmdResetandWriteReg.setCaption(QStringLiteral("WDT Test"));
    chkWDTDelay.setCaption(QStringLiteral("Use Delay"));
    txtWDTDelay.setText(QStringLiteral("5000"));
    lblWDTDelay.setCaption(QStringLiteral("ms"));
    cmdClearCIC.setCaption(QStringLiteral("Clear CCI"));
    cmdClearCIC.setToolTipText(QStringLiteral("Sets and load the clear CIC bit."));

    fraPA.setCaption(QStringLiteral("DUT Signals (PA)"));
    for (int i = 0; i < chkPAIO.Count(); ++i)
        chkPAIO(i).setCaption(QString::fromLatin1(kPortACaptions[static_cast<size_t>(i)]));
    chkFlashUSBStatus.setCaption(QStringLiteral("Flash"));
    fraPE.setCaption(QStringLiteral("DUT Signals (PE)"));
    for (int i = 0; i < chkPEIO.Count(); ++i)
        chkPEIO(i).setCaption(QString::fromLatin1(kPortECaptions[static_cast<size_t>(i)]));
    fraCTL.setCaption(QStringLiteral("DUT Signals (CTL)"));
    chkCTLIO(0).setCaption(QStringLiteral("SCLK"));
    for (ui::CommandButton* apply : {&cmdApplyPA, &cmdApplyPE, &cmdApplyCTL})
        apply->setCaption(QStringLiteral("Apply"));
    for (ui::CheckBox* autoApply : {&chkPAAutoApply, &chkPEAutoApply, &chkCTLAutoApply}) {
        autoApply->setCaption(QStringLiteral("Auto Apply"));
        autoApply->setValue(1);
    }

    fraDUTFlags.setCaption(QStringLiteral("DUT Flags (PD)"));
    for (const FlagLamp& lamp : kFlagLamps)
        lblDUTFlagsPD(lamp.bit).setCaption(QString::fromLatin1(lamp.caption));
    cmdReadDUTFlags.setCaption(QStringLiteral("Read"));
    lblSerialPortStatus.setCaption(QStringLiteral("Serial Port Status"));
    lbl3WireMode.setCaption(QStringLiteral("3-Wire Mode"));
    lblLSBFirst.setCaption(QStringLiteral("LSB First"));

    cmdFillRAM.setCaption(QStringLiteral("Fill RAM 0 to 1023"));
    cmdRAMReadTest.setCaption(QStringLiteral("FULL RAM DUMP"));
    cmdRAMReadTest.setToolTipText(QStringLiteral(
        "Dumps the RAM to a file named RAMDump.txt in the folder that the Eval Software is installed into."));
    cmdSimulate.setCaption(QStringLiteral("SIMULATE"));
    cmdFIFODebug.setCaption(QStringLiteral("FIFO Debug Window..."));
    cmdRAMDebug.setCaption(QStringLiteral("RAM I/O Window"));
}

void frmDebug::bindHandlers()
{
    using ui::CheckBox;
    using ui::TextBox;
    ui::bind(cmbRegAddr.Click, this, &frmDebug::cmbRegAddr_Click);
    txtByte.bind(&ui::TextBox::Change, this, &frmDebug::txtByte_Change);
    txtByte.bind(&ui::TextBox::GotFocus, this, &frmDebug::txtByte_GotFocus);
    txtByte.bind(&ui::TextBox::KeyPress, this, &frmDebug::txtByte_KeyPress);
    txtByte.bind(&ui::TextBox::Validate, this, &frmDebug::txtByte_Validate);
    txtHexDataByte.bind(&ui::TextBox::Change, this, &frmDebug::txtHexDataByte_Change);
    txtHexDataByte.bind(&ui::TextBox::GotFocus, this, &frmDebug::txtHexDataByte_GotFocus);
    txtHexDataByte.bind(&ui::TextBox::KeyPress, this, &frmDebug::txtHexDataByte_KeyPress);
    txtHexDataByte.bind(&ui::TextBox::Validate, this, &frmDebug::txtHexDataByte_Validate);
    ui::bind(cmdLoadReg.Click, this, &frmDebug::cmdLoadReg_Click);
    ui::bind(cmdReadReg.Click, this, &frmDebug::cmdReadReg_Click);
    ui::bind(cmdResetandWriteReg.Click, this, &frmDebug::cmdResetandWriteReg_Click);

    chkPAIO.bind(&ui::CheckBox::Click, this, &frmDebug::chkPAIO_Click);
    chkPEIO.bind(&ui::CheckBox::Click, this, &frmDebug::chkPEIO_Click);
    chkCTLIO.bind(&ui::CheckBox::Click, this, &frmDebug::chkCTLIO_Click);
    ui::bind(cmdApplyPA.Click, this, &frmDebug::cmdApplyPA_Click);
    ui::bind(cmdApplyPE.Click, this, &frmDebug::cmdApplyPE_Click);
    ui::bind(cmdApplyCTL.Click, this, &frmDebug::cmdApplyCTL_Click);
    ui::bind(chkFlashUSBStatus.Click, this, &frmDebug::chkFlashUSBStatus_Click);
    ui::bind(cmdReadDUTFlags.Click, this, &frmDebug::cmdReadDUTFlags_Click);
    ui::bind(cmdSendUpdate.Click, this, &frmDebug::cmdSendUpdate_Click);
    ui::bind(cmdClearCIC.Click, this, &frmDebug::cmdClearCIC_Click);
    ui::bind(cmdFillRAM.Click, this, &frmDebug::cmdFillRAM_Click);
    ui::bind(cmdRAMReadTest.Click, this, &frmDebug::cmdRAMReadTest_Click);
    ui::bind(cmdSimulate.Click, this, &frmDebug::cmdSimulate_Click);
    ui::bind(cmdFIFODebug.Click, this, &frmDebug::cmdFIFODebug_Click);
    ui::bind(cmdRAMDebug.Click, this, &frmDebug::cmdRAMDebug_Click);
}

// ---- loading and closing ----

void frmDebug::Form_Load()
{
    keyPreview_ =
        std::make_unique<regwin::RefreshKeyPreview>(*this, [this](int& key) { Form_KeyPress(key); });
    if (cmbRegAddr.ListCount() > 0)
        cmbRegAddr.setListIndex(0);
    RefreshFormVals();
    SetMode();
}

void frmDebug::Form_Unload(int& cancel)
{
    (void)cancel;
    keyPreview_.reset();
}

void frmDebug::Form_KeyPress(int& keyAscii)
{
    if (keyAscii == 18) {
        keyAscii = 0;
        RefreshFormVals();
    }
}

// ---- run mode and register list ----

void frmDebug::SetMode()
{
    const bool engineering = giRunMode == 4;
    for (ui::Control* control :
         std::initializer_list<ui::Control*>{&cmdFIFODebug, &cmdRAMDebug, &chkPEIO(5), &chkPEIO(6)})
        control->setVisible(engineering);
    fraMisc.setVisible(false);
    fitWidth();
    PopulateRegAddrs();
}

void frmDebug::fitWidth()
{
    // The fixed width, and the height the content asks for.
    const QSize frame = frameSizeForContent();
    if (frame.isValid())
        Move(Left(), Top(), kWindowWidth, frame.height());
}

void frmDebug::PopulateRegAddrs()
{
    const int remembered = cmbRegAddr.ListIndex();
    cmbRegAddr.Clear();
    const int16_t rev = goEvalBd ? goEvalBd->SiliconRev() : int16_t{3};
    for (const DebugRegisterItem& item : debugRegisterList(rev, giRunMode)) {
        cmbRegAddr.AddItem(item.name);
        cmbRegAddr.setItemData(cmbRegAddr.ListCount() - 1, item.addr);
    }
    const bool keep = remembered >= 0 && remembered < cmbRegAddr.ListCount();
    cmbRegAddr.setListIndex(keep ? remembered : 0);
}

// ---- refreshing ----

void frmDebug::RefreshFormVals()
{
    regwin::ScopedFlag refreshing(bRefreshing);
    const bool flashing = goEvalBd && goEvalBd->FlashUSBStatus();
    readPortImages();
    showPortImages();
    UdStatusIndicators();
    chkFlashUSBStatus.setValue(flashing ? 1 : 0);
    UpdateSPIStatus();
    cmbRegAddr_Click();
}

void frmDebug::UpdatePortVals()
{
    readPortImages();
    showPortImages();
}

void frmDebug::UpdateOtherForms()
{
    for (const QString& window : {formnames::frmControl, formnames::frmProfile, formnames::frmFreqAndSweep})
        ui::Forms::callIfLoaded(window, formnames::RefreshFormVals);
}
