#pragma once

// frmEditRAMAddrRR: the modal dialog that edits a 16-bit ramp-rate word together with the time step it
// stands for (4 x word / system clock, in microseconds). It serves every ramp-rate field: the caller gives
// the caption and the system clock (MHz, a number or the Control window's clock text), which the dialog
// keeps in gvEditSysClock for its conversions. The decimal view holds the word that OK hands back.

#include "boardui/form_names.h"
#include "platform/ui/controls.h"
#include "profiles/box_edit_dialogs.h"
#include "profiles/edit_dialog_form.h"
#include "profiles/edit_value.h"

#include <QString>
#include <cstdint>

class frmEditRAMAddrRR : public profiles::EditDialogForm, public profiles::RampRateEditDialog {
public:
    static inline const QString& FormName = formnames::frmEditRAMAddrRR;
    frmEditRAMAddrRR();

    // Edits the word in `box` (its Tag, decimal; empty, not a number or out of range counts as 0) and shows
    // its time. After OK the Tag holds the decimal view (five digits) and the text the time ("0.0000");
    // after Cancel or the close box both stay. A clock that is not a number above 0 converts nothing: the
    // user is told so and the dialog does not open.
    void ShowEditDialog(ui::TextBox& box, const QString& caption, const QString& clock) override;
    void ShowEditDialog(ui::TextBox& box, const QString& caption, const profiles::EditValue& clock);

    // The nearest time a word can express to `time` (words above 65535 taken as 65535), as a plain number.
    QString GetClosestRRTime(const QString& time) const;

    ui::Label Label1{this, QStringLiteral("Label1")};
    ui::Label lbDelta{this, QStringLiteral("lbDelta")};
    ui::Label lblDTime{this, QStringLiteral("lblDTime")};
    ui::TextBox txtRampRateTime{this, QStringLiteral("txtRampRateTime")};
    ui::Label lblMhz{this, QStringLiteral("lblMhz")};
    ui::Label lblSec{this, QStringLiteral("lblSec")};
    ui::ScrollBar vscRampRateTime{this, QStringLiteral("vscRampRateTime")};
    ui::Frame fraRampRate{this, QStringLiteral("fraRampRate")};
    // Box 0 bits 7-0, box 1 bits 15-8.
    ui::ControlArray<ui::TextBox> txtBin{this, QStringLiteral("txtBin"), 2};
    ui::Label lblTWBin{this, QStringLiteral("lblTWBin")};
    ui::TextBox txtHex{this, QStringLiteral("txtHex")};
    ui::Label lblHex{this, QStringLiteral("lblHex")};
    ui::TextBox txtDec{this, QStringLiteral("txtDec")};
    ui::Label lblDec{this, QStringLiteral("lblDec")};
    ui::Shape shpOKHilight{this, QStringLiteral("shpOKHilight")};
    ui::CommandButton OKButton{this, QStringLiteral("OKButton")};
    ui::CommandButton CancelButton{this, QStringLiteral("CancelButton")};

    double maxRRTime() const { return mdMaxRRTime; }

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    // Rewrites every view but `except` from the word.
    void ShowWord(int32_t word, const ui::TextBox* except);

    void txtRampRateTime_KeyPress(int& key);
    bool txtRampRateTime_Entry();
    bool txtDec_Entry();
    bool txtHex_Entry();
    bool txtBin_Entry(int index);
    void vscRampRateTime_Change();
    void OKButton_Click();
    void CancelButton_Click();

    ui::TextBox* mctlTarget = nullptr;
    bool mbOKPressed = false;
    double mdMaxRRTime = 0.0;
    double mdMinRRTime = 0.0;
};
