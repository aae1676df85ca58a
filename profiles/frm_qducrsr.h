#pragma once

// frmQDUCRSR ("QDUC RAM Control"): prepares the chip's 1024-word RAM for playback. It edits, in the
// pending map, the RAM enable (CFR1 bit 31) and QDUC RAM destination (CFR1 bit 28) bits and the two RAM
// segment registers RSR0 (05H) and RSR1 (06H): step-rate word 47:32, final address 31:22, beginning
// address 15:6, mode code 2:0 (bits 21:16 and 5:3 are never touched). LOAD sends CFR1, RSR0 and RSR1.
// The ISFC line, set here at once, picks the segment register through which RAM data files reach or
// leave the RAM; the "Load RAM" and "Save RAM" frames move whole RAM images between files and the chip.
//
// Procedures callable by name: "RefreshFormVals", "UdControlState", "SetMode".

#include "board/chip_registers.h"
#include "board/register_field.h"
#include "boardui/form_names.h"
#include "profiles/put_in_container.h"
#include "profiles/value_fields.h"
#include "shell/register_window_base.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <QString>
#include <array>
#include <cstdint>
#include <unordered_set>

class frmQDUCRSR : public regwin::RegisterWindow {
public:
    static inline const QString& FormName = formnames::frmQDUCRSR;
    static constexpr int kSegments = 2;

    frmQDUCRSR();

    // The register fields of segment i (register 05H + i).
    static constexpr RegisterField rampRateField(int i) { return {ramSegmentRegister(i), 47, 32}; }
    static constexpr RegisterField finalAddrField(int i) { return {ramSegmentRegister(i), 31, 22}; }
    static constexpr RegisterField beginAddrField(int i) { return {ramSegmentRegister(i), 15, 6}; }
    static constexpr RegisterField modeField(int i) { return {ramSegmentRegister(i), 2, 0}; }
    // Bits 21:16 and 5:3: no control shows them, but LOAD sends them with the rest of the register.
    static constexpr RegisterField unusedHighField(int i) { return {ramSegmentRegister(i), 21, 16}; }
    static constexpr RegisterField unusedLowField(int i) { return {ramSegmentRegister(i), 5, 3}; }
    static constexpr RegisterField kRAMEnable = ::kRAMEnable;
    static constexpr RegisterField kQDUCRAMDest = ::kQDUCRAMDest;

    ui::CheckBox chkEnableRAM{this, QStringLiteral("chkEnableRAM")};
    ui::CheckBox chkEnQDUCRAMEval{this, QStringLiteral("chkEnQDUCRAMEval")};

    // ---- the two segments (index 0 RSR0, index 1 RSR1) ----
    ui::ControlArray<ui::Frame> fraProfileRAM{this, QStringLiteral("fraProfileRAM"), kSegments};
    ui::ControlArray<ui::Label> lblRAMSegBeginAddr{this, QStringLiteral("lblRAMSegBeginAddr"), kSegments};
    ui::ControlArray<ui::TextBox> txtRAMSegBeginAddr{this, QStringLiteral("txtRAMSegBeginAddr"), kSegments};
    ui::ControlArray<ui::Label> lblRAMSegFinalAddr{this, QStringLiteral("lblRAMSegFinalAddr"), kSegments};
    ui::ControlArray<ui::TextBox> txtRAMSegFinalAddr{this, QStringLiteral("txtRAMSegFinalAddr"), kSegments};
    ui::ControlArray<ui::Label> lblRAMSegAddrRampRate{this, QStringLiteral("lblRAMSegAddrRampRate"),
                                                      kSegments};
    ui::ControlArray<ui::TextBox> txtRAMSegAddrRampRate{this, QStringLiteral("txtRAMSegAddrRampRate"),
                                                        kSegments};
    ui::ControlArray<ui::Label> lblRAMMicro{this, QStringLiteral("lblRAMMicro"), kSegments};
    ui::ControlArray<ui::Label> lblRAMSec{this, QStringLiteral("lblRAMSec"), kSegments};
    ui::ControlArray<ui::Label> lblRAMSegModCtrl{this, QStringLiteral("lblRAMSegModCtrl"), kSegments};
    ui::ControlArray<ui::ComboBox> cmbRAMSegModeControl{this, QStringLiteral("cmbRAMSegModeControl"),
                                                        kSegments, DropDownListMaker()};
    // Red marker round a mode list whose register holds a code the list does not offer.
    ui::ControlArray<ui::Label> lblMCErr{this, QStringLiteral("lblMCErr"), kSegments};

    // ---- ISFC line and LOAD ----
    ui::ControlArray<ui::CommandButton> cmdSetISFCPin{this, QStringLiteral("cmdSetISFCPin"), kSegments};
    ui::ControlArray<ui::Label> lblISFCHilight{this, QStringLiteral("lblISFCHilight"), kSegments};
    ui::CommandButton cmdLoad{this, QStringLiteral("cmdLoad")};
    ui::Label lblLoadFlash{this, QStringLiteral("lblLoadFlash")};
    ui::TimerControl tmrLoadFlash{this, QStringLiteral("tmrLoadFlash"), 200};

    // ---- "Load RAM" ----
    ui::Frame fraRAMFile{this, QStringLiteral("fraRAMFile")};
    ui::Label lblLoadRAMTextFile{this, QStringLiteral("lblLoadRAMTextFile")};
    ui::TextBox txtQDRAMFile{this, QStringLiteral("txtQDRAMFile")};
    ui::CommandButton cmdSelRAMFile{this, QStringLiteral("cmdSelRAMFile")};
    // 0 the save format's label, 1 the load format's.
    ui::ControlArray<ui::Label> lblOutputDataFormat{this, QStringLiteral("lblOutputDataFormat"), 2};
    ui::ComboBox cmbLoadOptions{this, QStringLiteral("cmbLoadOptions"), -1, ui::vbComboDropdownList};
    ui::CommandButton cmdLoadRAMFile{this, QStringLiteral("cmdLoadRAMFile")};

    // ---- "Save RAM" ----
    ui::Frame fraReadRAM{this, QStringLiteral("fraReadRAM")};
    ui::Label lblSaveFileName{this, QStringLiteral("lblSaveFileName")};
    ui::TextBox txtRAMSaveFile{this, QStringLiteral("txtRAMSaveFile")};
    ui::CommandButton cmdChooseSavePath{this, QStringLiteral("cmdChooseSavePath")};
    ui::ComboBox cmbDumpDataFormat{this, QStringLiteral("cmbDumpDataFormat"), -1, ui::vbComboDropdownList};
    ui::CommandButton cmdSaveRAMFile{this, QStringLiteral("cmdSaveRAMFile")};
    ui::CommandButton cmdViewSavedFile{this, QStringLiteral("cmdViewSavedFile")};

    // ---- public members ----
    // Shows the pending register values in every control.
    void RefreshFormVals();
    // Text colours of the RAM controls and the enabled state of the file buttons, by operating mode.
    void UdControlState();
    // Fills segment i's mode list (codes 3 and 4 only with the destination flag) and selects the
    // register's code when the list offers it.
    void BuildModeControlList(int segment, int destination);
    // The run mode changed: nothing in this window depends on it outside LOAD.
    void SetMode() {}

    // ---- handlers ----
    void chkEnableRAM_Click();
    void chkEnQDUCRAMEval_Click();
    void cmbRAMSegModeControl_Click(int index);
    void cmdLoad_Click();
    void tmrLoadFlash_Timer() { tickLoadIndicator(); }
    void cmdSetISFCPin_Click(int index);

    void txtQDRAMFile_Change();
    void txtRAMSaveFile_Change();
    void cmdSelRAMFile_Click();
    void cmdChooseSavePath_Click();
    void cmdLoadRAMFile_Click();
    void cmdSaveRAMFile_Click();
    void cmdViewSavedFile_Click();

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;

private:
    void setDesignProperties();
    void setFileDesignProperties();
    void bindHandlers();
    void bindFileHandlers();
    void buildFieldTable();

    void showModeMarker(int segment);
    void showISFC();

    // The addresses and step rates of the segments.
    profiles::ValueFields values_{cmdLoad};
    // The controls UdControlState has coloured; a colour is applied again only when it changes.
    std::unordered_set<const ui::Control*> painted_;
};
