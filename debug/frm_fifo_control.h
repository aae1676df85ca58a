#pragma once

// frmFIFOControl ("FIFO Control"): fills the evaluation board's data FIFO from a FIFO data file (plain or
// in the SXI data-port layout), with an incrementing ramp or with random words, and starts a transmission
// of the FIFO to the chip or switches the FIFO's loop mode. It works only on the board's port C lines and
// the board object's FIFO operations; it never touches the register maps. Closing it from its close box
// only hides it, so its choices stay.

#include "boardui/form_names.h"
#include "debug/frm_fifo_control_transmit.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>

#include <cstdint>
#include <vector>

// The file loads both FIFO windows offer: the line-count limit, the plain or SXI reader and the result
// message. True when the FIFO was loaded.
bool loadFifoFileWithMessages(const QString& path, bool sxi, bool lsbFirst, bool offsetBinary);

class frmFIFOControl : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmFIFOControl;
    // The data sources, by option index.
    enum Source : int { kRandom = 0, kIncrementing = 1, kFile = 2 };
    static constexpr int kRandomWords = 65536;
    static constexpr int kIncrementingWords = 262144;

    frmFIFOControl();

    ui::ControlArray<ui::OptionButton> optFIFODataSrc{this, "optFIFODataSrc", 3};
    ui::TextBox txtFIFOFile{this, "txtFIFOFile"};
    ui::CommandButton cmdSelFIFOFile{this, "cmdSelFIFOFile"};
    ui::CommandButton cmdLoadFIFO{this, "cmdLoadFIFO"};
    ui::Label lblFILLFIFO{this, "lblFILLFIFO"};
    ui::Frame fraSXIDataFormat{this, "fraSXIDataFormat"};
    ui::CheckBox chkLoadSXI{this, "chkLoadSXI"};
    ui::Label lblSXIModeOptions{this, "lblSXIModeOptions"};
    ui::ListBox lsbLoadOptions{this, "lsbLoadOptions"};
    ui::CheckBox chkLSBFirstMode{this, "chkLSBFirstMode"};
    ui::CheckBox chkTransmitData{this, "chkTransmitData"};
    ui::CheckBox chkRetransmit{this, "chkRetransmit"};

    // The words a source fills the FIFO with.
    static std::vector<int32_t> randomWords();
    static std::vector<int32_t> incrementingWords();

    // ---- handlers ----
    void optFIFODataSrc_Click(int index);
    void chkLoadSXI_Click();
    void txtFIFOFile_Change();
    void cmdSelFIFOFile_Click();
    void cmdLoadFIFO_Click();
    void chkRetransmit_Click() { transmitter_.loopClicked(); }
    void chkTransmitData_Click() { transmitter_.transmitClicked(); }

    const FifoTransmitter& transmitter() const { return transmitter_; }

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    int selectedSource() const;
    void loadFile();

    bool bRefreshing_ = false;
    FifoTransmitter transmitter_{chkTransmitData, chkRetransmit, bRefreshing_};
};
