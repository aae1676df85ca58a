#pragma once

// frmEditPhaseOffset1: the modal dialog that edits a 16-bit phase offset word, shown at once as an angle in
// degrees (three decimals), as two binary byte boxes, hexadecimal and decimal, with a spin bar that steps
// the word by one. The decimal view holds the word; every other view is rewritten from it.

#include "boardui/form_names.h"
#include "platform/ui/controls.h"
#include "profiles/edit_dialog_form.h"
#include "profiles/edit_value.h"

#include <QString>
#include <cstdint>

class frmEditPhaseOffset1 : public profiles::EditDialogForm {
public:
    static inline const QString& FormName = formnames::frmEditPhaseOffset1;
    frmEditPhaseOffset1();

    // Edits the word in `box`: its Tag holds the word in decimal (empty counts as 0, and the Tag becomes
    // "0" at once), its text the angle. Stores `clock` (the system clock in MHz, a number or numeric text)
    // as a decimal in gvEditSysClock for the ramp-rate conversions; a clock that is not a number is kept as
    // it came, so that those conversions report it. Returns when the dialog closes: after OK the Tag holds
    // the decimal view (five digits) and the text the angle view ("0.000"); after Cancel or the close box
    // both stay.
    void ShowEditDialog(ui::TextBox& box, const profiles::EditValue& clock);

    ui::Label lblActualPhaseDelay{this, QStringLiteral("lblActualPhaseDelay")};
    ui::TextBox txtSearchPhaseOff{this, QStringLiteral("txtSearchPhaseOff")};
    ui::Label lblPhaseDelDeg{this, QStringLiteral("lblPhaseDelDeg")};
    ui::ScrollBar vscPhaseOffset{this, QStringLiteral("vscPhaseOffset")};
    ui::Frame Frame1{this, QStringLiteral("Frame1")};
    // Box 0 the low byte, box 1 the high byte.
    ui::ControlArray<ui::TextBox> txtBinVal{this, QStringLiteral("txtBinVal"), 2};
    ui::Label lblBin{this, QStringLiteral("lblBin")};
    ui::TextBox txtHexVal{this, QStringLiteral("txtHexVal")};
    ui::Label lblHex{this, QStringLiteral("lblHex")};
    ui::TextBox txtDecVal{this, QStringLiteral("txtDecVal")};
    ui::Label lblDec{this, QStringLiteral("lblDec")};
    ui::CommandButton cmdOK{this, QStringLiteral("cmdOK")};
    ui::CommandButton cmdCancel{this, QStringLiteral("cmdCancel")};

protected:
    void buildUi(QWidget* window) override;
    void Form_Activate() override;

private:
    // Rewrites the views from a word: all but `except`, and both binary boxes always.
    void UpdateViews(int32_t word, const ui::TextBox* except);

    bool txtSearchPhaseOff_Entry();
    bool txtDecVal_Entry();
    bool txtHexVal_Entry();
    bool txtBinVal_Entry(int index);
    void txtSearchPhaseOff_KeyPress(int& key);
    void vscPhaseOffset_Change();
    void cmdOK_Click();
    void cmdCancel_Click();

    int32_t highestWord() const { return wordCount_ - 1; }

    int32_t wordCount_ = 65536;
};
