#pragma once

// frmMultiChipSync ("Multi-Chip Sync"): the chip's multi-chip synchronisation register MCS (0x0A) and the
// sync sample error check of CFR2 bit 5. LOAD writes MCS alone; Clear Error writes CFR2 twice at once.
//
// Procedures callable by name: "RefreshFormVals", "UdStatusIndicators".

#include "boardui/form_names.h"
#include "shell/register_window.h"
#include "shell/register_window_base.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <QString>

class frmMultiChipSync : public regwin::RegisterWindow {
public:
    static inline const QString& FormName = formnames::frmMultiChipSync;

    frmMultiChipSync();
    ~frmMultiChipSync() override;

    ui::Label lblSyncWndDel{this, QStringLiteral("lblSyncWndDel")};
    ui::ComboBox cmbSyncWndDel{this, QStringLiteral("cmbSyncWndDel"), -1, ui::vbComboDropdownList};
    ui::Label lblSysClkOffset{this, QStringLiteral("lblSysClkOffset")};
    ui::ComboBox cmbSysClkOffset{this, QStringLiteral("cmbSysClkOffset"), -1, ui::vbComboDropdownList};
    ui::Label lblOutpSyncPulseDelay{this, QStringLiteral("lblOutpSyncPulseDelay")};
    ui::ComboBox cmbOutpSyncPulseDelay{this, QStringLiteral("cmbOutpSyncPulseDelay"), -1,
                                       ui::vbComboDropdownList};
    ui::Label lblInpSyncPulseDelay{this, QStringLiteral("lblInpSyncPulseDelay")};
    ui::ComboBox cmbInpSyncPulseDelay{this, QStringLiteral("cmbInpSyncPulseDelay"), -1,
                                      ui::vbComboDropdownList};
    ui::CheckBox chkSyncEnable{this, QStringLiteral("chkSyncEnable")};
    ui::CheckBox chkSyncDriverEn{this, QStringLiteral("chkSyncDriverEn")};
    ui::CheckBox chkInternSyncLoopEn{this, QStringLiteral("chkInternSyncLoopEn")};
    ui::Frame fraSyncPolarity{this, QStringLiteral("fraSyncPolarity")};
    // 1 "On Rising Sysclk Edge", 0 "On Falling Sysclk Edge": the element index is MCS bit 25.
    ui::ControlArray<ui::OptionButton> optSyncPolarity{this, QStringLiteral("optSyncPolarity"), 2};
    ui::Frame fraEnableSyncSample{this, QStringLiteral("fraEnableSyncSample")};
    ui::CheckBox chkEnableSyncSampleErr{this, QStringLiteral("chkEnableSyncSampleErr")};
    ui::CommandButton cmdClearSampleError{this, QStringLiteral("cmdClearSampleError")};
    ui::Label lblSyncSampleError{this, QStringLiteral("lblSyncSampleError")};
    ui::CommandButton cmdLoad{this, QStringLiteral("cmdLoad")};
    ui::Label lblLoadFlash{this, QStringLiteral("lblLoadFlash")};
    ui::TimerControl tmrLoadFlash{this, QStringLiteral("tmrLoadFlash"), 200};

    void RefreshFormVals();
    // The sync sample error label from the status line the USB watch has just read.
    void UdStatusIndicators();

    void cmdClearSampleError_Click();
    void cmdLoad_Click();
    void tmrLoadFlash_Timer();

    const regwin::FieldTable& fieldTable() const { return fields_; }

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
};
