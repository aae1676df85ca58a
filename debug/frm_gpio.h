#pragma once

// frmGPIO: the 16 general-purpose I/O lines of silicon revision 3. GPIO Config (18H) holds one direction bit
// per line (1 output), GPIO Read (19H) one data bit per line; each register has its own LOAD and READ. The
// controls are enabled only on revision 3 while the SXI data-port mode (CFR2 bit 31) is set; the Control
// window refreshes this window whenever that bit is switched.
//
// Procedures callable by name: "RefreshFormVals".

#include "board/chip_registers.h"
#include "boardui/form_names.h"
#include "debug/rev3_window.h"
#include "shell/register_window.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <QString>

class frmGPIO : public rev3::Window {
public:
    static inline const QString& FormName = formnames::frmGPIO;
    static constexpr int kLines = 16;
    static constexpr uint32_t kInputColour = 0x00FF00;
    static constexpr uint32_t kOutputColour = 0x0080FF;
    // Line i's name; the lines skip D4 and D5.
    static QString lineName(int line);

    frmGPIO();

    ui::Frame fraConfig{this, "fraConfig"};
    ui::Label lblConfigPins{this, "lblConfigPins"};
    ui::Label lblConfigDirection{this, "lblConfigDirection"};
    ui::ControlArray<ui::Label> lblGPIOConfig{this, "lblGPIOConfig", kLines};
    ui::ControlArray<ui::CommandButton> cmdInConfig{this, "cmdInConfig", kLines};
    ui::ControlArray<ui::CommandButton> cmdOutConfig{this, "cmdOutConfig", kLines};
    ui::CommandButton cmdLoadConfig{this, "cmdLoadConfig"};
    ui::CommandButton cmdReadConfig{this, "cmdReadConfig"};
    ui::Label lblLoadConfigFlash{this, "lblLoadConfigFlash"};

    ui::Frame fraData{this, "fraData"};
    ui::Label lblDataLine{this, "lblDataLine"};
    ui::Label lblDataHeading{this, "lblDataHeading"};
    ui::ControlArray<ui::Label> lblGPIOData{this, "lblGPIOData", kLines};
    ui::ControlArray<ui::CommandButton> cmdGPIOData{this, "cmdGPIOData", kLines};
    ui::CommandButton cmdLoad{this, "cmdLoad"};
    ui::CommandButton cmdRead{this, "cmdRead"};
    ui::Label lblLoadFlash{this, "lblLoadFlash"};
    ui::TimerControl tmrLoadFlash{this, "tmrLoadFlash", 300};

    void RefreshFormVals();

    void cmdInConfig_Click(int index);
    void cmdOutConfig_Click(int index);
    void cmdGPIOData_Click(int index);
    void cmdLoad_Click() { loadOwnRegister(kGPIORead, cmdLoad); }
    void cmdLoadConfig_Click() { rev3::loadRegister(kGPIOConfig, cmdLoadConfig, configIndicator_); }
    void cmdRead_Click() { read(kGPIORead); }
    void cmdReadConfig_Click() { read(kGPIOConfig); }
    void tmrLoadFlash_Timer();

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;

private:
    void read(int16_t addr);

    regwin::LoadIndicator configIndicator_{lblLoadConfigFlash,
                                           regwin::LoadIndicator::registers({kGPIOConfig})};
};
