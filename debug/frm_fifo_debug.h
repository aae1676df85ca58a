#pragma once

// frmFIFODebug ("FIFO Debug"): the engineering window of the board's FIFO. It shows and drives the FIFO's
// port C lines and the FIFO write clock (sent at once with "Auto Apply", else with APPLY), shows the
// programmable almost-empty and almost-full lines as lamps, resets and detects the FIFO, programs the two
// flag trip points, writes typed hexadecimal words, a ramp of 65536 words or a FIFO data file into the
// FIFO, and starts or loops the transmission as the FIFO control window does.
//
// Procedures callable by name: "RefreshFormVals", "RefreshFIFOFlags".

#include "boardui/form_names.h"
#include "debug/frm_fifo_control_transmit.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace regwin {
class RefreshKeyPreview;
}

class frmFIFODebug : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmFIFODebug;
    static constexpr int kPortCLines = 6;
    static constexpr int kWclkBit = 1;
    static inline const QString kDefaultEmptyTrip = QStringLiteral("1");
    static inline const QString kDefaultFullTrip = QStringLiteral("65535");

    frmFIFODebug();
    ~frmFIFODebug() override;

    // ---- "Ctrl Lines (PC)" ----
    ui::Frame fraCtrlLines{this, "fraCtrlLines"};
    ui::ControlArray<ui::CheckBox> chkPCIO{this, "chkPCIO", kPortCLines};
    ui::ControlArray<ui::CheckBox> chkCTLIO{this, "chkCTLIO", 0};
    ui::CheckBox chkAutoApply{this, "chkAutoApply"};
    ui::CommandButton cmdApply{this, "cmdApply"};
    // ---- "FIFO Flag Status" ----
    ui::Frame fraFlagStatus{this, "fraFlagStatus"};
    ui::ControlArray<ui::Image> imgFIFOFlags{this, "imgFIFOFlags", 2};
    ui::ControlArray<ui::Label> lblFIFOFlags{this, "lblFIFOFlags", 2};
    ui::CommandButton cmRefresh{this, "cmRefresh"};
    // ---- "FIFO Reset" ----
    ui::Frame fraFifoReset{this, "fraFifoReset"};
    ui::CommandButton cmdTestForFIFO{this, "cmdTestForFIFO"};
    ui::CommandButton cmdFifoReset{this, "cmdFifoReset"};
    // ---- transmission ----
    ui::CheckBox chkRetransmit{this, "chkRetransmit"};
    ui::CheckBox chkTransmitData{this, "chkTransmitData"};
    // ---- "Programmable FIFO Flags" ----
    ui::Frame fraProgFlags{this, "fraProgFlags"};
    ui::Label lblPAE{this, "lblPAE"};
    ui::TextBox txtPAE{this, "txtPAE"};
    ui::Label lblPAF{this, "lblPAF"};
    ui::TextBox txtPAF{this, "txtPAF"};
    ui::CommandButton cmdProgramFlags{this, "cmdProgramFlags"};
    // ---- "Write RAW Data to the FIFO" ----
    ui::Frame fraRawData{this, "fraRawData"};
    ui::CommandButton Command1{this, "Command1"};
    ui::Label lblFIFOFile{this, "lblFIFOFile"};
    ui::TextBox txtFIFOFile{this, "txtFIFOFile"};
    ui::CommandButton cmdSelFIFOFile{this, "cmdSelFIFOFile"};
    ui::CommandButton cmdLoadFIFOFile{this, "cmdLoadFIFOFile"};
    ui::Label lblFifoData{this, "lblFifoData"};
    ui::TextBox txtFifoData{this, "txtFifoData"};
    ui::CommandButton cmdWriteData{this, "cmdWriteData"};
    ui::Label lblFIFOWordCount{this, "lblFIFOWordCount"};
    ui::Label FIFOWC{this, "FIFOWC"};

    void RefreshFormVals();
    void RefreshFIFOFlags();

    // The typed words, blanks ignored: eight hexadecimal digits each (FFFFFFFF is -1); nullopt when the
    // text is not a whole number of such words.
    static std::optional<std::vector<int32_t>> dataWords(const QString& text);
    // A trip point's text as a value 0-65535; nullopt for anything else.
    static std::optional<int32_t> tripPoint(const QString& text);

    uint8_t portCImage() const { return portCImage_; }
    uint8_t ctlImage() const { return ctlImage_; }
    const FifoTransmitter& transmitter() const { return transmitter_; }

    // ---- handlers ----
    void chkPCIO_Click(int index);
    void chkCTLIO_Click(int index);
    void cmdApply_Click();
    void cmRefresh_Click() { RefreshFIFOFlags(); }
    void cmdFifoReset_Click();
    void cmdTestForFIFO_Click();
    void cmdProgramFlags_Click();
    void Command1_Click();
    void cmdWriteData_Click();
    void cmdSelFIFOFile_Click();
    void cmdLoadFIFOFile_Click();
    void txtPAE_Validate(bool& cancel);
    void txtPAF_Validate(bool& cancel);
    void txtFifoData_Change();
    // Ctrl+R (code 18) re-reads the lines and lamps.
    void Form_KeyPress(int& keyAscii);

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    // The box's trip point; a text that is none beeps and puts the box's start value back.
    int32_t validTripPoint(ui::TextBox& box, const QString& startValue);

    bool bRefreshing_ = false;
    uint8_t portCImage_ = 0;
    uint8_t ctlImage_ = 0;
    FifoTransmitter transmitter_{chkTransmitData, chkRetransmit, bRefreshing_};
    std::unique_ptr<regwin::RefreshKeyPreview> keyPreview_;
};
