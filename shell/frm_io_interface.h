#pragma once

// frmIOInterface ("DUT I/O"): how the chip's serial port is wired (2-wire or 3-wire, CFR1 bit 1) and which
// bit goes first (MSB or LSB, CFR1 bit 0). The choices change the pending register map; LOAD writes CFR1
// to the chip, and "Reset I/O Port" pulses the chip's serial-port reset.

#include "boardui/form_names.h"
#include "shell/register_window.h"
#include "shell/register_window_base.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <QString>

class frmIOInterface : public regwin::RegisterWindow {
public:
    static inline const QString& FormName = formnames::frmIOInterface;

    frmIOInterface();

    // ---- controls ----
    ui::Frame fraSerialIOMode{this, "fraSerialIOMode"};
    ui::Frame fraDataFormat{this, "fraDataFormat"};
    ui::ControlArray<ui::PictureBox> pbxXPThemeFix{this, "pbxXPThemeFix", 2};
    ui::ControlArray<ui::OptionButton> opt2Wire3Wire{this, "opt2Wire3Wire", 2};
    ui::ControlArray<ui::OptionButton> optMSBLSB{this, "optMSBLSB", 2};
    ui::CommandButton cmdIOReset{this, "cmdIOReset"};
    ui::CommandButton cmdLoad{this, "cmdLoad"};
    ui::Label lblLoadFlash{this, "lblLoadFlash"};
    ui::CheckBox chkAutoIOUd{this, "chkAutoIOUd"};
    ui::TimerControl tmrLoadFlash{this, "tmrLoadFlash", 200};

    // Re-reads the two bits from the pending register map.
    void RefreshFormVals();

    // ---- handlers (the option buttons store through the field table) ----
    void cmdIOReset_Click();
    void cmdLoad_Click();
    void tmrLoadFlash_Timer();

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    bool sized_ = false;
};
