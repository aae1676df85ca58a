#pragma once

// frmEditOutFreq: the modal dialog that edits a frequency tuning word of 1 to 6 bytes, shown at once as the
// output frequency in MHz, as binary (one box per byte), hexadecimal and decimal, with a spin bar that steps
// the word by one. Whatever view the user edits becomes the word, and every other view is rewritten from
// that word, so the frequency shown is the one the word really gives.

#include "boardui/form_names.h"
#include "platform/runtime/decimal.h"
#include "platform/ui/controls.h"
#include "profiles/edit_dialog_form.h"
#include "profiles/edit_value.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>

class frmEditOutFreq : public profiles::EditDialogForm {
public:
    static inline const QString& FormName = formnames::frmEditOutFreq;
    frmEditOutFreq();

    // Edits the word in `box`: its Tag holds the word in decimal (empty counts as 0), its text the
    // frequency. `clock` is the system clock in MHz (a number or the clock box's text); `bits` the word
    // width, a whole number of bytes from 8 to 48 (other widths are taken up to the next whole byte within
    // that range); `signedWords` true makes the words two's complement. Returns when the dialog closes:
    // after OK the Tag holds the decimal view (zero-padded to the digits of 2^bits - 1) and the text the
    // frequency view; after Cancel or the close box both stay, except that an empty Tag becomes "0".
    // A clock that is not a positive number leaves the frequency view at zero and read-only; the word views
    // still work.
    void ShowEditDialog(ui::TextBox& box, const QString& caption, const profiles::EditValue& clock,
                        int16_t bits, std::optional<bool> signedWords = std::nullopt);

    ui::Label Label1{this, QStringLiteral("Label1")};
    ui::TextBox txtOutputFreqVal{this, QStringLiteral("txtOutputFreqVal")};
    ui::Label lblMhz{this, QStringLiteral("lblMhz")};
    ui::Frame fraTunningWord{this, QStringLiteral("fraTunningWord")};
    // Box 0 holds the least significant byte of a 6-byte word and stands rightmost; narrower words use the
    // boxes from 6 - bytes up, and the others are hidden.
    ui::ControlArray<ui::TextBox> txtTW{this, QStringLiteral("txtTW"), 6};
    ui::Label lblTWBin{this, QStringLiteral("lblTWBin")};
    ui::TextBox txtTWHex{this, QStringLiteral("txtTWHex")};
    ui::Label lblHex{this, QStringLiteral("lblHex"), 1};
    ui::TextBox txtTWDec{this, QStringLiteral("txtTWDec")};
    ui::Label lblDec{this, QStringLiteral("lblDec")};
    ui::ScrollBar vscDecTWVal{this, QStringLiteral("vscDecTWVal")};
    ui::Shape shpOKHilight{this, QStringLiteral("shpOKHilight")};
    ui::CommandButton OKButton{this, QStringLiteral("OKButton")};
    ui::CommandButton CancelButton{this, QStringLiteral("CancelButton")};
    ui::Label lblAutoSizeOutFreq{this, QStringLiteral("lblAutoSizeOutFreq")};
    ui::Label lblAutoSizeHex{this, QStringLiteral("lblAutoSizeHex")};
    ui::Label lblAutoSizeDec{this, QStringLiteral("lblAutoSizeDec")};

    // The word the views show now.
    const rt::Decimal& word() const { return word_; }

protected:
    void buildUi(QWidget* window) override;
    void Form_Unload(int& cancel) override;

private:
    // Views rewritten from a word: all but `except` (the view whose entry is running, or the frequency view
    // when the dialog opens).
    void SetTW(const rt::Decimal& word, const ui::TextBox* except);
    void SetFreqMaxLength(const rt::Decimal& word);
    void layOutForBytes(int bytes);
    void sizeBoxes();

    bool txtOutputFreqVal_Entry();
    bool txtTWDec_Entry();
    bool txtTWHex_Entry();
    bool txtTW_Entry(int index);
    void txtOutputFreqVal_KeyPress(int& key);
    void vscDecTWVal_Change();
    void OKButton_Click();
    void CancelButton_Click();

    // The frequency of a word with the clock's pattern, as the frequency entry writes it.
    QString clockFrequencyText(const rt::Decimal& word) const;
    rt::Decimal lowestWord() const;
    rt::Decimal highestWord() const;
    bool inRange(const rt::Decimal& word) const;

    ui::TextBox* target_ = nullptr;
    bool accepted_ = false;
    bool signed_ = false;
    int16_t bits_ = 32;
    int decimalDigits_ = 10;
    QString decimalPattern_;
    int hexDigits_ = 8;
    QString frequencyPattern_;
    double clock_ = 0.0;
    bool clockValid_ = false;
    rt::Decimal word_;
    QChar separator_;
    int separatorCode_ = '.';
    QString negativeSign_;
};
