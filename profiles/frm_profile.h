#pragma once

// frmProfile: the chip's eight profiles (registers 0x0E-0x15) and the mode bits of CFR1 and CFR2 that go
// with them. Every profile is drawn in three forms, one frame each — quadrature modulation, RAM segment
// and single tone — and the window shows one form for all eight profiles at a time, the one the operating
// mode of CFR1 calls for. The fields edit the pending register map; LOAD writes CFR2, CFR1 and the eight
// profile registers to the chip (or, with no board selected, into the written copy). The option buttons
// select the active profile on the board's profile pins.
//
// Procedures callable by name (ui::Forms::callIfLoaded("frmProfile", ...)): "RefreshFormVals",
// "UpdateProfileSel", "UdControlState", "UdStatusIndicators".
//
// The system clock of every conversion is the text of the Control window's txtSysClkTxt, read at each use.
// The forms and the greying follow the rules of profiles/profile_modes.h; the field table is built in
// frm_profile_table.cpp, the layout in frm_profile_layout.cpp.
// The amplitude, output-scale and RAM ramp-rate dialogs are opened by name (profiles/box_edit_dialogs.h);
// a dialog that does not exist leaves its double-click without effect.

#include "boardui/form_names.h"
#include "profiles/profile_modes.h"
#include "profiles/put_in_container.h"
#include "profiles/value_fields.h"
#include "shell/register_window_base.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <QString>
#include <cstdint>

class QRect;
class QSize;
class QWidget;

class frmProfile : public regwin::RegisterWindow {
public:
    static inline const QString& FormName = formnames::frmProfile;

    // Values of the form mode: which frame each profile shows (kFormQDUC, kFormRAM, kFormSingleTone).
    using enum profiles::ProfileFormMode;

    frmProfile();
    ~frmProfile() override;

    // ---- quadrature-modulation form, one element per profile ----
    ui::ControlArray<ui::Frame> fraProfileQDUC{this, QStringLiteral("fraProfileQDUC"), 1};
    ui::ControlArray<ui::Label> lblOutFreqQD{this, QStringLiteral("lblOutFreqQD"), 1};
    ui::ControlArray<ui::TextBox> txtOutFreqQD{this, QStringLiteral("txtOutFreqQD"), 1};
    ui::ControlArray<ui::Label> lblMHzQD{this, QStringLiteral("lblMHzQD"), 1};
    ui::ControlArray<ui::Label> lblPhaseOffsetQD{this, QStringLiteral("lblPhaseOffsetQD"), 1};
    ui::ControlArray<ui::TextBox> txtPhaseOffsetQD{this, QStringLiteral("txtPhaseOffsetQD"), 1};
    ui::ControlArray<ui::Label> lblDegQD{this, QStringLiteral("lblDegQD"), 1};
    ui::ControlArray<ui::Label> lblOutputScaleFactorQD{this, QStringLiteral("lblOutputScaleFactorQD"), 1};
    ui::ControlArray<ui::TextBox> txtOSFValQD{this, QStringLiteral("txtOSFValQD"), 1};
    ui::ControlArray<ui::Label> lblCCIInterpRateQD{this, QStringLiteral("lblCCIInterpRateQD"), 1};
    ui::ControlArray<ui::TextBox> txtCCIValQD{this, QStringLiteral("txtCCIValQD"), 1};
    ui::ControlArray<ui::CheckBox> chkSpectralInvQD{this, QStringLiteral("chkSpectralInvQD"), 1};
    ui::ControlArray<ui::CheckBox> chkInvCCIQD{this, QStringLiteral("chkInvCCIQD"), 1};

    // ---- RAM-segment form ----
    ui::ControlArray<ui::Frame> fraProfileRAM{this, QStringLiteral("fraProfileRAM"), 1};
    ui::ControlArray<ui::Label> lblRAMSegBeginAddr{this, QStringLiteral("lblRAMSegBeginAddr"), 1};
    ui::ControlArray<ui::TextBox> txtRAMSegBeginAddr{this, QStringLiteral("txtRAMSegBeginAddr"), 1};
    ui::ControlArray<ui::Label> lblRAMSegFinalAddr{this, QStringLiteral("lblRAMSegFinalAddr"), 1};
    ui::ControlArray<ui::TextBox> txtRAMSegFinalAddr{this, QStringLiteral("txtRAMSegFinalAddr"), 1};
    ui::ControlArray<ui::Label> lblRAMSegAddrRampRate{this, QStringLiteral("lblRAMSegAddrRampRate"), 1};
    ui::ControlArray<ui::TextBox> txtRAMSegAddrRampRate{this, QStringLiteral("txtRAMSegAddrRampRate"), 1};
    ui::ControlArray<ui::Label> lblRAMMicro{this, QStringLiteral("lblRAMMicro"), 1};
    ui::ControlArray<ui::Label> lblRAMSec{this, QStringLiteral("lblRAMSec"), 1};
    ui::ControlArray<ui::Label> lblRAMSegModCtrl{this, QStringLiteral("lblRAMSegModCtrl"), 1};
    ui::ControlArray<ui::ComboBox> cmbRAMSegModeControl{this, QStringLiteral("cmbRAMSegModeControl"), 1,
                                                        DropDownListMaker()};
    ui::ControlArray<ui::CheckBox> chkRAMZeroCrossing{this, QStringLiteral("chkRAMZeroCrossing"), 1};
    ui::ControlArray<ui::CheckBox> chkRAMNoDwellActive{this, QStringLiteral("chkRAMNoDwellActive"), 1};

    // ---- single-tone form ----
    ui::ControlArray<ui::Frame> fraProfileSnglTone{this, QStringLiteral("fraProfileSnglTone"), 1};
    ui::ControlArray<ui::Label> lblOutFreqST{this, QStringLiteral("lblOutFreqST"), 1};
    ui::ControlArray<ui::TextBox> txtOutFreqST{this, QStringLiteral("txtOutFreqST"), 1};
    ui::ControlArray<ui::Label> lblMHzST{this, QStringLiteral("lblMHzST"), 1};
    ui::ControlArray<ui::Label> lblPhaseOffsetST{this, QStringLiteral("lblPhaseOffsetST"), 1};
    ui::ControlArray<ui::TextBox> txtPhOSpinStepST{this, QStringLiteral("txtPhOSpinStepST"), 1};
    ui::ControlArray<ui::ScrollBar> vscPhaseOSpinST{this, QStringLiteral("vscPhaseOSpinST"), 1};
    ui::ControlArray<ui::TextBox> txtPhaseOffsetST{this, QStringLiteral("txtPhaseOffsetST"), 1};
    ui::ControlArray<ui::Label> lblDegST{this, QStringLiteral("lblDegST"), 1};
    ui::ControlArray<ui::Label> lblASFST{this, QStringLiteral("lblASFST"), 1};
    ui::ControlArray<ui::TextBox> txtAmpScaleStepST{this, QStringLiteral("txtAmpScaleStepST"), 1};
    ui::ControlArray<ui::ScrollBar> vscAmpScaleSpinST{this, QStringLiteral("vscAmpScaleSpinST"), 1};
    ui::ControlArray<ui::TextBox> txtAmpScaleST{this, QStringLiteral("txtAmpScaleST"), 1};

    // ---- window-wide controls, on their panel ----
    ui::PictureBox pbxOtherCtrls{this, QStringLiteral("pbxOtherCtrls")};
    ui::Label lblProfileSel{this, QStringLiteral("lblProfileSel")};
    ui::ControlArray<ui::OptionButton> optProfileSel{this, QStringLiteral("optProfileSel"), 8};
    ui::CheckBox chkEnableSineOut{this, QStringLiteral("chkEnableSineOut")};
    ui::CheckBox chkClearCCI{this, QStringLiteral("chkClearCCI")};
    ui::CheckBox chkQFirstData{this, QStringLiteral("chkQFirstData")};
    ui::CheckBox chkInvSincEn{this, QStringLiteral("chkInvSincEn")};
    ui::CheckBox chkUseProfileOSK{this, QStringLiteral("chkUseProfileOSK")};
    ui::Label lblCCIOvrFlow{this, QStringLiteral("lblCCIOvrFlow")};
    ui::Label lblLoadFlash{this, QStringLiteral("lblLoadFlash")};
    ui::CommandButton cmdLoad{this, QStringLiteral("cmdLoad")};
    ui::TimerControl tmrLoadFlash{this, QStringLiteral("tmrLoadFlash"), 200};
    // Size references for the window height; never shown.
    ui::Label lblSpacer{this, QStringLiteral("lblSpacer")};
    ui::Label lblSpacer2{this, QStringLiteral("lblSpacer2")};

    // ---- operations ----
    // Does nothing: the control arrays are their own collections.
    void BuildCollections();
    // Make the frames of the next profile with their children; `profile` returns its number. The three are
    // called in step, so they yield the same number.
    void AddQDUCFrame(int16_t& profile);
    void AddSTFrame(int16_t& profile);
    void AddRSFrame(int16_t& profile);
    // Shows the frames of a form (ProfileFormMode) for every profile; other values change nothing.
    void SetFormMode(int16_t mode);
    // Re-reads every control of the shown form from the pending map.
    void RefreshFormVals();
    // Selects the option of the board's active profile.
    void UpdateProfileSel();
    // The form CFR1 calls for: RAM segment for single tone with the RAM enabled, single tone without it,
    // quadrature modulation for every other operating mode.
    void GetFormMode(int16_t& mode) const;
    // Greys (or restores) the single-tone amplitude controls.
    void GrayOSKASK(bool grey);
    // The CCI overflow lamp from the status line the USB watch has just read.
    void UdStatusIndicators();
    // Greys the controls the operating mode and the amplitude bits make meaningless (text colour only).
    void UdControlState();

    // ---- handlers ----
    void optProfileSel_Click(int index);

    void vscAmpScaleSpinST_Change(int index);
    void vscPhaseOSpinST_Change(int index);
    // The check boxes and lists store through the field table.

    void cmdLoad_Click();
    void tmrLoadFlash_Timer() { tickLoadIndicator(); }

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;

private:
    // ---- building ----
    void setDesignProperties();
    void bindHandlers();
    // Design-time properties of the children of profile n's frames (element 0's, given to every element).
    void initQDUCElements(int n);
    void initRAMElements(int n);
    void initSingleToneElements(int n);
    // Puts the children of profile n's frame into it, in the frame's order, and sizes them.
    void fillQDUCFrame(int n);
    void fillRAMFrame(int n);
    void fillSingleToneFrame(int n);
    // Sizes the boxes of profile n's frames.
    void sizeQDUCFrame(int n);
    void sizeRAMFrame(int n);
    void sizeSingleToneFrame(int n);
    // Places the three frames of profile n in its cell of the grid.
    void placeProfileCell(int n);
    // Puts the frames and the panel into their cells, all of one size, and gives the window its fixed width
    // and the height of three cells.
    void sizeWindow();
    // The cell in `column` and `row` (from 0) of the grid, for cells of the size given.
    QRect cellRect(int column, int row, const QSize& cell) const;
    void setProfileColour(int n, uint32_t colour);

    // ---- the field table ----
    // Made once the eight profiles have their frames.
    void buildFieldTable();
    void addProfileRows(int n);

    void setControlColour(ui::Control& control, bool normal);

    // The form RefreshFormVals shows (-1: none, the operating mode has no form); the table's rows of the
    // other forms are left alone.
    int16_t refreshForm_ = -1;
    // The window's content, on which the cells are placed.
    QWidget* profileCanvas_ = nullptr;
    // Every profile's value boxes.
    profiles::ValueFields values_{cmdLoad};
};

// Makes the Profiles window loadable by name ("frmProfile"); start-up calls it before it shows the window.
void registerProfileWindow();
