#pragma once

// frmWatchDogTmr: the chip's watchdog register WDT (17H), which silicon revision 3 alone has. Its controls
// edit the watchdog's bits in the pending map, LOAD writes the register to the chip, READ reads it back,
// and a lamp shows the watchdog's event bit. On revisions 1 and 2 every control is disabled.
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

class frmWatchDogTmr : public rev3::Window {
public:
    static inline const QString& FormName = formnames::frmWatchDogTmr;

    frmWatchDogTmr();

    ui::Frame fraWatchDog{this, "fraWatchDog"};
    ui::CheckBox chkWDTSingleShotEn{this, "chkWDTSingleShotEn"};
    ui::Label lblPeriod{this, "lblPeriod"};
    ui::ComboBox cmbWDTPeriod{this, "cmbWDTPeriod", -1, ui::vbComboDropdownList};
    ui::CheckBox chkWDTContUseOpEn{this, "chkWDTContUseOpEn"};
    ui::CheckBox chkExtSysResetDisable{this, "chkExtSysResetDisable"};
    ui::CheckBox chkEnablePwrMon{this, "chkEnablePwrMon"};
    ui::CheckBox chkWDTTest{this, "chkWDTTest"};
    ui::Image imgIndicate{this, "imgIndicate"};
    ui::Label lblIndicate{this, "lblIndicate"};
    ui::CommandButton cmdLoad{this, "cmdLoad"};
    ui::CommandButton cmdRead{this, "cmdRead"};
    ui::Label lblLoadFlash{this, "lblLoadFlash"};
    ui::TimerControl tmrLoadFlash{this, "tmrLoadFlash", 200};

    void RefreshFormVals();

    void cmdLoad_Click();
    void cmdRead_Click();
    void tmrLoadFlash_Timer() { tickLoadIndicator(); }

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
};
