#pragma once

// frmDebug: the engineering window that reads and writes any chip register as raw bits, byte by byte,
// past the function windows, and drives the board's port lines by hand. It shows the written copy of the
// selected register in eight bit boxes and eight hexadecimal boxes kept in step; Load Reg writes the
// composed value to the chip (with no board, into both copies), Read Reg shows what the chip holds without
// storing it. The port A, port E and CTL boxes set single lines, sent at once under "Auto Apply" or with
// Apply; lamps show the chip's status flags (port D) and the serial-port settings.
//
// Procedures callable by name (ui::Forms::callIfLoaded("frmDebug", ...)): "RefreshFormVals",
// "UdStatusIndicators", "UpdateSPIStatus", "UpdatePortVals", "UpdateOtherForms", "SetMode",
// "PopulateRegAddrs".
//
// The windows it opens or refreshes (RAM test, FIFO debug, RAM segment, Profiles, sweep, watchdog) are
// reached by name only, so each is skipped while it does not exist or is not loaded.

#include "boardui/form_names.h"
#include "debug/port_images.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace regwin {
class RefreshKeyPreview;
}

class frmDebug : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmDebug;
    static constexpr int kByteRows = 8;

    // The register rows' text colours (0x00BBGGRR): as read from the chip, edited, and as stored.
    static constexpr uint32_t kReadColour = 0x008000;
    static constexpr uint32_t kEditedColour = 0xC00000;
    static constexpr uint32_t kNormalColour = 0x80000008;
    // Text that is not a byte (pasted past the key filters).
    static constexpr uint32_t kInvalidColour = 0x0000FF;

    frmDebug();
    ~frmDebug() override;

    // ---- registers ----
    ui::ControlArray<ui::Label> lblRegAddr{this, "lblRegAddr", 1};
    ui::ComboBox cmbRegAddr{this, "cmbRegAddr", -1, ui::vbComboDropdownList};
    // Row i holds bits 8i+7..8i.
    ui::ControlArray<ui::Label> lblBitRange{this, "lblBitRange", kByteRows};
    ui::ControlArray<ui::TextBox> txtByte{this, "txtByte", kByteRows};
    ui::ControlArray<ui::TextBox> txtHexDataByte{this, "txtHexDataByte", kByteRows};
    ui::ControlArray<ui::Label> lblHex{this, "lblHex", kByteRows};
    ui::CommandButton cmdLoadReg{this, "cmdLoadReg"};
    ui::CommandButton cmdReadReg{this, "cmdReadReg"};
    ui::CheckBox chkAutoUpdate{this, "chkAutoUpdate"};
    ui::CommandButton cmdSendUpdate{this, "cmdSendUpdate"};

    // ---- "Misc": kept hidden in every run mode ----
    ui::Frame fraMisc{this, "fraMisc"};
    ui::CommandButton cmdResetandWriteReg{this, "cmdResetandWriteReg"};
    ui::CheckBox chkWDTDelay{this, "chkWDTDelay"};
    ui::TextBox txtWDTDelay{this, "txtWDTDelay"};
    ui::Label lblWDTDelay{this, "lblWDTDelay"};
    ui::CommandButton cmdClearCIC{this, "cmdClearCIC"};

    // ---- port lines ----
    ui::Frame fraPA{this, "fraPA"};
    ui::ControlArray<ui::CheckBox> chkPAIO{this, "chkPAIO", 6};
    ui::CheckBox chkFlashUSBStatus{this, "chkFlashUSBStatus"};
    ui::CommandButton cmdApplyPA{this, "cmdApplyPA"};
    ui::CheckBox chkPAAutoApply{this, "chkPAAutoApply"};
    ui::Frame fraPE{this, "fraPE"};
    ui::ControlArray<ui::CheckBox> chkPEIO{this, "chkPEIO", 8};
    ui::CommandButton cmdApplyPE{this, "cmdApplyPE"};
    ui::CheckBox chkPEAutoApply{this, "chkPEAutoApply"};
    ui::Frame fraCTL{this, "fraCTL"};
    ui::ControlArray<ui::CheckBox> chkCTLIO{this, "chkCTLIO", 1};
    ui::CommandButton cmdApplyCTL{this, "cmdApplyCTL"};
    ui::CheckBox chkCTLAutoApply{this, "chkCTLAutoApply"};

    // ---- lamps: DUT flags on port D bits 3-7, serial-port settings ----
    ui::Frame fraDUTFlags{this, "fraDUTFlags"};
    ui::ControlArray<ui::Image> imgDUTFlagsPD{this, "imgDUTFlagsPD"};
    ui::ControlArray<ui::Label> lblDUTFlagsPD{this, "lblDUTFlagsPD"};
    ui::CommandButton cmdReadDUTFlags{this, "cmdReadDUTFlags"};
    ui::Label lblSerialPortStatus{this, "lblSerialPortStatus"};
    ui::Image img3WireMode{this, "img3WireMode"};
    ui::Label lbl3WireMode{this, "lbl3WireMode"};
    ui::Image imgLSBFirst{this, "imgLSBFirst"};
    ui::Label lblLSBFirst{this, "lblLSBFirst"};

    // ---- engineering buttons ----
    ui::CommandButton cmdFillRAM{this, "cmdFillRAM"};
    ui::CommandButton cmdRAMReadTest{this, "cmdRAMReadTest"};
    ui::CommandButton cmdSimulate{this, "cmdSimulate"};
    ui::CommandButton cmdFIFODebug{this, "cmdFIFODebug"};
    ui::CommandButton cmdRAMDebug{this, "cmdRAMDebug"};

    // ---- public operations ----
    // Lights the 3-wire and LSB-first lamps from the board object's serial-port settings.
    void UpdateSPIStatus();
    // Re-reads the port images, lamps and the selected register (from the written copy).
    void RefreshFormVals();
    // The DUT flag lamps from port D as last read; reads nothing from the board.
    void UdStatusIndicators();
    // RefreshFormVals of the Control, Profiles and sweep windows, each when loaded.
    void UpdateOtherForms();
    // Applies the run mode: the mode-4 controls, the window's width, the register list.
    void SetMode();
    // Rebuilds the register list for the run mode and silicon revision, keeping the list position.
    void PopulateRegAddrs();
    // Re-reads the port images and sets the boxes without the refreshing flag: their Click handlers run,
    // and Auto Apply writes a port back.
    void UpdatePortVals();

    // ---- handlers: registers ----
    void cmbRegAddr_Click();
    void cmdLoadReg_Click();
    void cmdReadReg_Click();
    void cmdResetandWriteReg_Click();
    void txtByte_Change(int index);
    void txtByte_GotFocus(int index);
    void txtByte_KeyPress(int index, int& keyAscii);
    void txtByte_Validate(int index, bool& cancel);
    void txtHexDataByte_Change(int index);
    void txtHexDataByte_GotFocus(int index);
    void txtHexDataByte_KeyPress(int index, int& keyAscii);
    void txtHexDataByte_Validate(int index, bool& cancel);

    // ---- handlers: ports, lamps, engineering ----
    void chkPAIO_Click(int index);
    void chkPEIO_Click(int index);
    void chkCTLIO_Click(int index);
    void cmdApplyPA_Click();
    void cmdApplyPE_Click();
    void cmdApplyCTL_Click();
    void chkFlashUSBStatus_Click();
    void cmdReadDUTFlags_Click();
    void cmdSendUpdate_Click();
    void cmdClearCIC_Click();
    void cmdFillRAM_Click();
    void cmdRAMReadTest_Click();
    void cmdSimulate_Click();
    void cmdFIFODebug_Click();
    void cmdRAMDebug_Click();

    // Character 18 (Ctrl+R) re-reads the window.
    void Form_KeyPress(int& keyAscii);

    // The port images as the window last read or edited them.
    uint8_t portAImage() const { return ports_.image(kPortA); }
    uint8_t portEImage() const { return ports_.image(kPortE); }
    uint8_t ctlImage() const { return ports_.image(kPortCtl); }

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void setDesignProperties();
    void bindHandlers();
    // The window's fixed width (8265 twips) and the height its content needs.
    void fitWidth();

    // ---- register rows ----
    int16_t selectedAddress() const;
    // Fills the rows from a value string; a missing byte shows "++++++++" and, when `blankMissingHex`,
    // "++" in its hexadecimal box.
    void showValue(const QString& value, bool blankMissingHex);
    void colourRow(int index, uint32_t colour);
    void colourAllRows(uint32_t colour);
    // The composed value of the enabled rows, or nothing when a row does not hold a byte (after naming
    // the row in a message).
    std::optional<QString> composedValue();

    // ---- ports ----
    void readPortImages();
    void showPortImages();
    void showLamp(ui::Image& lamp, bool lit);

    // Set while RefreshFormVals sets the port boxes: their Click handlers do nothing then.
    bool bRefreshing = false;
    // True while a hexadecimal box had the focus last: it drives its bit box; else the bit box drives it.
    bool hexEntry_ = false;
    PortImages ports_;
    std::unique_ptr<regwin::RefreshKeyPreview> keyPreview_;
};
