// The register debug window: handler binding, loading and closing, the run mode and the register list, the
// refresh that re-reads ports, lamps and the selected register, the register rows with Load Reg and Read
// Reg, and the port line boxes with their lamps.

#include "debug/frm_debug.h"

#include "board/bit_helpers.h"
#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/sound.h"
#include "board/text_util.h"
#include "boardui/form_names.h"
#include "boardui/text_selection.h"
#include "debug/debug_register_list.h"
#include "debug/register_bytes.h"
#include "shell/frm_graphics.h"
#include "shell/mdi_main.h"
#include "shell/refresh_key_preview.h"
#include "shell/register_window.h"
#include "shell/startup.h"

#include "platform/ui/forms.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/msgbox.h"

#include <initializer_list>
#include <vector>

namespace {

// The window's width in every run mode: 8265 twips.
constexpr int kWindowWidth = 8265 / 15;

} // namespace

frmDebug::frmDebug() : Form(FormName)
{
    setMdiChild(true);
    setDesignProperties();
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
    if (keyAscii == ui::kKeyAsciiCtrlR) {
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

// ---- register rows ----

int16_t frmDebug::selectedAddress() const
{
    const int index = cmbRegAddr.ListIndex();
    return index < 0 ? int16_t{-1} : static_cast<int16_t>(cmbRegAddr.ItemData(index));
}

void frmDebug::colourRow(int index, uint32_t colour)
{
    txtByte(index).setForeColor(colour);
    txtHexDataByte(index).setForeColor(colour);
}

void frmDebug::colourAllRows(uint32_t colour)
{
    for (int i = 0; i < kByteRows; ++i)
        colourRow(i, colour);
}

void frmDebug::showValue(const QString& value, bool blankMissingHex)
{
    const int bytes = regbytes::byteCount(value);
    for (int i = 0; i < kByteRows; ++i) {
        const bool present = i < bytes;
        for (ui::Control* control : std::initializer_list<ui::Control*>{&txtByte(i), &lblBitRange(i),
                                                                        &txtHexDataByte(i), &lblHex(i)})
            control->setEnabled(present);
        if (present) {
            const QString byte = regbytes::byteOf(value, i);
            txtByte(i).Tag = byte;
            txtByte(i).setText(byte);
            // Also when the bit box already held the byte: a hexadecimal box left with other text follows.
            txtHexDataByte(i).setText(regbytes::hexOfBits(byte));
        } else {
            txtByte(i).Tag = QStringLiteral("++++++++");
            txtByte(i).setText(txtByte(i).Tag);
            if (blankMissingHex)
                txtHexDataByte(i).setText(QStringLiteral("++"));
        }
    }
}

void frmDebug::cmbRegAddr_Click()
{
    const int16_t addr = selectedAddress();
    if (addr < 0 || !goEvalBd)
        return;
    hexEntry_ = false;
    showValue(goEvalBd->GetRegMapValue(1, addr), true);
    colourAllRows(kNormalColour);
}

// ---- bit boxes ----

void frmDebug::txtByte_KeyPress(int index, int& keyAscii)
{
    (void)index;
    keyAscii = KeyFilterBinary(keyAscii);
    if (keyAscii == ui::vbKeySpace || keyAscii == ui::vbKeyReturn)
        keyAscii = 0;
}

void frmDebug::txtByte_GotFocus(int index)
{
    hexEntry_ = false;
    SelectAllText(txtByte(index));
}

void frmDebug::txtByte_Validate(int index, bool& cancel)
{
    (void)cancel;
    ui::TextBox& box = txtByte(index);
    if (box.Text().size() < 8 && regbytes::isBitText(box.Text()))
        box.setText(regbytes::paddedBits(box.Text()));
}

void frmDebug::txtByte_Change(int index)
{
    ui::TextBox& box = txtByte(index);
    const QString text = box.Text();
    // Pasted text passes no key filter: anything but binary digits stays in the box, marked, and goes
    // nowhere (Load Reg refuses it).
    if (box.Enabled() && !regbytes::isBitText(text)) {
        box.setForeColor(kInvalidColour);
        return;
    }
    colourRow(index, text != box.Tag ? kEditedColour : kNormalColour);
    if (box.Enabled() && !text.isEmpty() && !hexEntry_)
        txtHexDataByte(index).setText(regbytes::hexOfBits(text));
}

// ---- hexadecimal boxes ----

void frmDebug::txtHexDataByte_KeyPress(int index, int& keyAscii)
{
    (void)index;
    keyAscii = KeyFilterHex(keyAscii);
    if (keyAscii == ui::vbKeySpace)
        keyAscii = 0;
}

void frmDebug::txtHexDataByte_GotFocus(int index)
{
    hexEntry_ = true;
    SelectAllText(txtHexDataByte(index));
}

void frmDebug::txtHexDataByte_Validate(int index, bool& cancel)
{
    (void)cancel;
    ui::TextBox& box = txtHexDataByte(index);
    if (box.Text().size() < 2 && regbytes::isHexText(box.Text()))
        box.setText(regbytes::paddedHex(box.Text()));
}

void frmDebug::txtHexDataByte_Change(int index)
{
    ui::TextBox& box = txtHexDataByte(index);
    const QString text = box.Text();
    if (!box.Enabled())
        return;
    if (!regbytes::isHexText(text)) {
        box.setForeColor(kInvalidColour);
        return;
    }
    // Pasted lower-case digits read as the typed ones do.
    if (text != text.toUpper()) {
        box.setText(text.toUpper());
        return;
    }
    ui::TextBox& bits = txtByte(index);
    colourRow(index, bits.Text() != bits.Tag ? kEditedColour : kNormalColour);
    if (!text.isEmpty() && hexEntry_)
        bits.setText(regbytes::bitsOfHex(text));
}

// ---- Load Reg and Read Reg ----

std::optional<QString> frmDebug::composedValue()
{
    std::vector<regbytes::ByteRow> rows;
    rows.reserve(kByteRows);
    for (int i = 0; i < kByteRows; ++i)
        rows.push_back({txtByte(i).Text(), txtHexDataByte(i).Text(), txtByte(i).Enabled()});
    const regbytes::Composed composed = regbytes::compose(rows, goEvalBd->GetRegLength(selectedAddress()));
    switch (composed.fault) {
    case regbytes::Composed::Fault::None:
        return composed.value;
    case regbytes::Composed::Fault::BadByte:
        ui::MsgBox(
            QStringLiteral("Byte %1 does not hold a valid value.").arg(lblBitRange(composed.byte).Caption()) +
                QStringLiteral("\r\nEnter up to eight binary digits (0 or 1) or two hexadecimal "
                               "digits (0-9, A-F).\r\nNothing was loaded."),
            ui::vbExclamation, QStringLiteral("Load Reg"));
        break;
    case regbytes::Composed::Fault::Incomplete:
        ui::MsgBox(
            QStringLiteral("The bytes shown do not make up the whole register.\r\nNothing was loaded."),
            ui::vbExclamation, QStringLiteral("Load Reg"));
        break;
    }
    return std::nullopt;
}

void frmDebug::cmdLoadReg_Click()
{
    const int16_t addr = selectedAddress();
    if (addr < 0 || !goEvalBd)
        return;
    const std::optional<QString> value = composedValue();
    if (!value)
        return;
    if (gbBoardConnected) {
        // A failed write leaves the written copy as it was while the pending copy takes the value: the
        // window that owns the register then shows the two differ.
        goEvalBd->USBSerialLoadPKT(addr, *value);
        if (chkAutoUpdate.Value() == 1)
            goEvalBd->StrobeREGUD();
        goEvalBd->SetRegMapValue(0, addr, *value);
        for (int i = 0; i < static_cast<int>(value->size() / 8); ++i)
            colourRow(i, kNormalColour);
    } else {
        goEvalBd->SetRegMapValue(1, addr, *value);
        goEvalBd->SetRegMapValue(0, addr, *value);
    }
    if (!IsLoaded())
        return;
    RefreshFormVals();
    RefreshFormsForRegister(addr);
}

void frmDebug::cmdReadReg_Click()
{
    const int16_t addr = selectedAddress();
    if (addr < 0 || !goEvalBd)
        return;
    const bool connected = gbBoardConnected;
    QString value;
    if (connected) {
        // Shown only: neither copy takes what the chip answers.
        value = goEvalBd->USBSerialReadPKT(addr, true);
    } else {
        value = goEvalBd->GetRegMapValue(1, addr);
        PlaySoundAsync(QStringLiteral("SystemAsterisk"));
    }
    // A profile register's read waits with events running: the window may have gone meanwhile.
    if (value.isEmpty() || !IsLoaded())
        return;
    hexEntry_ = false;
    showValue(value, false);
    colourAllRows(connected ? kReadColour : kNormalColour);
    UpdateSPIStatus();
}

// ---- port lines ----

void frmDebug::readPortImages()
{
    if (goEvalBd)
        ports_.read(*goEvalBd, !goEZUSB().DriverName().isEmpty());
}

void frmDebug::showPortImages()
{
    for (ui::CheckBox& box : chkPAIO)
        box.setValue(ports_.line(kPortA, box.Index()) ? 1 : 0);
    for (ui::CheckBox& box : chkPEIO)
        box.setValue(ports_.line(kPortE, box.Index()) ? 1 : 0);
    for (ui::CheckBox& box : chkCTLIO)
        box.setValue(ports_.line(kPortCtl, box.Index()) ? 1 : 0);
}

// ---- port boxes and Apply ----

void frmDebug::chkPAIO_Click(int index)
{
    if (bRefreshing)
        return;
    ports_.setLine(kPortA, index, chkPAIO(index).Value() != 0);
    if (chkPAAutoApply.Value() == 1)
        cmdApplyPA_Click();
    // The RAM segment window shows the ISFC line, applied or not.
    ui::Forms::callIfLoaded(formnames::frmQDUCRSR, formnames::RefreshFormVals);
}

void frmDebug::chkPEIO_Click(int index)
{
    if (bRefreshing)
        return;
    ports_.setLine(kPortE, index, chkPEIO(index).Value() != 0);
    if (chkPEAutoApply.Value() == 1)
        cmdApplyPE_Click();
}

void frmDebug::chkCTLIO_Click(int index)
{
    if (bRefreshing)
        return;
    ports_.setLine(kPortCtl, index, chkCTLIO(index).Value() != 0);
    if (chkCTLAutoApply.Value() == 1)
        cmdApplyCTL_Click();
}

void frmDebug::cmdApplyPA_Click()
{
    if (!goEvalBd)
        return;
    ports_.apply(*goEvalBd, kPortA);
    ui::Forms::callIfLoaded(formnames::frmControl, formnames::RefreshFormVals);
    ui::Forms::callIfLoaded(formnames::frmQDUCRSR, formnames::RefreshFormVals);
}

void frmDebug::cmdApplyPE_Click()
{
    if (!goEvalBd)
        return;
    ports_.apply(*goEvalBd, kPortE);
    ui::Forms::callIfLoaded(formnames::frmProfile, formnames::UpdateProfileSel);
    ui::Forms::callIfLoaded(formnames::frmFreqAndSweep, formnames::RefreshFormVals);
}

void frmDebug::cmdApplyCTL_Click()
{
    if (!goEvalBd)
        return;
    ports_.apply(*goEvalBd, kPortCtl);
}

void frmDebug::chkFlashUSBStatus_Click()
{
    const bool flash = chkFlashUSBStatus.Value() == 1;
    if (goEvalBd) {
        goEvalBd->setFlashUSBStatus(flash);
        // The LED follows the port A image again.
        if (!flash)
            cmdApplyPA_Click();
    }
    chkPAIO(0).setEnabled(!flash);
}

// ---- lamps ----

void frmDebug::showLamp(ui::Image& lamp, bool lit)
{
    lamp.setPicture(ui::form<frmGraphics>().imgGreenLed(lit ? 1 : 0).Picture());
}

void frmDebug::UdStatusIndicators()
{
    const uint8_t portD = goEvalBd ? static_cast<uint8_t>(goEvalBd->USBGetPortBuffVal(kPortD)) : 0;
    for (ui::Image& lamp : imgDUTFlagsPD)
        showLamp(lamp, ebTestBit(portD, static_cast<int16_t>(lamp.Index())) == 1);
}

void frmDebug::UpdateSPIStatus()
{
    showLamp(img3WireMode, goEvalBd && goEvalBd->SPI_IOMode() == 1);
    showLamp(imgLSBFirst, goEvalBd && goEvalBd->SPI_LSB_First());
}

void frmDebug::cmdReadDUTFlags_Click()
{
    if (goEvalBd)
        goEvalBd->USBReadPortBuffVal(kPortD);
    UdStatusIndicators();
}
