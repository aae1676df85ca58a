#pragma once

// frmEditOSF and frmEditOSF_QM: the modal dialogs that edit an unsigned scale-factor word kept in a caller's
// value box (word in its Tag, value in its text). frmEditOSF edits the 14-bit amplitude scale factor (value
// word / 2^14), frmEditOSF_QM the 8-bit output scale factor of a quadrature-modulation profile (value
// word / 128). Both show the word at once as a value, in binary, hexadecimal and decimal, with a spin bar
// that steps it by one; the decimal view holds the word that OK hands back.

#include "boardui/form_names.h"
#include "platform/ui/controls.h"
#include "profiles/box_edit_dialogs.h"
#include "profiles/edit_dialog_form.h"

#include <QString>
#include <cstdint>

namespace profiles {

// What tells the two dialogs apart.
struct ScaleFactorKind {
    int bits;                 // 14 or 8
    const char* valueFormat;  // "0.00000" / "0.0000000"
    int valueLength;          // value box length
    int decimalDigits;        // 5 / 3
    int hexDigits;            // 4 / 2
    const char* valueCaption; // label before the value
    // value of a word, and word of a value (before the range is applied)
    double (*valueOf)(int32_t word);
    int64_t (*wordOf)(double value);
};

class ScaleFactorDialog : public EditDialogForm, public BoxEditDialog {
public:
    ScaleFactorDialog(const QString& name, const ScaleFactorKind& kind);

    // Edits the word in `box` (its Tag, decimal; empty, not a number or out of range counts as 0). Returns
    // when the dialog closes: after OK the Tag holds the decimal view (zero-padded) and the text the value
    // view; after Cancel or the close box both stay as they were.
    void ShowEditDialog(ui::TextBox& box) override;

    ui::Label lblActualPhaseDelay{this, QStringLiteral("lblActualPhaseDelay")};
    ui::TextBox txtValue{this, QStringLiteral("txtValue")};
    ui::ScrollBar vscValue{this, QStringLiteral("vscValue")};
    ui::Frame Frame1{this, QStringLiteral("Frame1")};
    // Box 0 bits 7-0; box 1 bits 13-8 (14-bit dialog only).
    ui::ControlArray<ui::TextBox> txtBinVal{this, QStringLiteral("txtBinVal")};
    ui::Label lblBin{this, QStringLiteral("lblBin")};
    ui::TextBox txtHexVal{this, QStringLiteral("txtHexVal")};
    ui::Label lblHex{this, QStringLiteral("lblHex")};
    ui::TextBox txtDecVal{this, QStringLiteral("txtDecVal")};
    ui::Label lblDec{this, QStringLiteral("lblDec")};
    ui::CommandButton cmdOK{this, QStringLiteral("cmdOK")};
    ui::CommandButton cmdCancel{this, QStringLiteral("cmdCancel")};

    int32_t highestWord() const { return (1 << kind_.bits) - 1; }

protected:
    void buildUi(QWidget* window) override;
    void Form_Activate() override;

private:
    // Rewrites every view but `except` from the word; the binary boxes always.
    void UpdateViews(int32_t word, const ui::TextBox* except);
    QString valueText(int32_t word) const;
    QString decimalText(int32_t word) const;

    void txtValue_KeyPress(int& key);
    bool txtValue_Entry();
    bool txtDecVal_Entry();
    bool txtHexVal_Entry();
    bool txtBinVal_Entry(int index);
    void vscValue_Change();
    void cmdOK_Click();
    void cmdCancel_Click();

    ScaleFactorKind kind_;
};

} // namespace profiles

class frmEditOSF : public profiles::ScaleFactorDialog {
public:
    static inline const QString& FormName = formnames::frmEditOSF;
    frmEditOSF();
};

class frmEditOSF_QM : public profiles::ScaleFactorDialog {
public:
    static inline const QString& FormName = formnames::frmEditOSF_QM;
    frmEditOSF_QM();
};
