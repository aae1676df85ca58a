#include "profiles/frm_edit_out_freq.h"

#include "board/num_base.h"
#include "board/text_util.h"
#include "platform/runtime/locale_info.h"
#include "platform/runtime/number_format.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/msgbox.h"
#include "profiles/mod_edit_out_freq.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kBoxCount = 6;

// The word width the dialog works with: a whole number of bytes from 1 to 6.
int16_t byteWidth(int16_t bits)
{
    const int whole = (std::clamp<int>(bits, 8, 48) + 7) / 8 * 8;
    return static_cast<int16_t>(whole);
}

// How text in the hexadecimal view reads: invalid digits count as 0, a value too wide for any word as
// above every limit.
struct HexReading {
    rt::Decimal value;
    bool aboveType = false;
};

HexReading readHex(const QString& text, bool isSigned)
{
    try {
        const QString digits = text.trimmed();
        return {isSigned ? cbaseSignedHexStr2Dec(digits) : cbaseHexStr2DecExact(digits), false};
    } catch (const rt::RuntimeError& error) {
        if (error.number() == rt::errTypeMismatch)
            return {rt::Decimal(), false};
        return {rt::Decimal(), true};
    }
}

} // namespace

frmEditOutFreq::frmEditOutFreq() : EditDialogForm(FormName)
{
    Label1.setCaption(QStringLiteral("Frequency:"));
    txtOutputFreqVal.setText(QStringLiteral("-000.000000000"));
    txtOutputFreqVal.setToolTipText(QStringLiteral("Enter the desired frequency in MHz."));
    txtOutputFreqVal.setAlignment(ui::vbRightJustify);
    lblMhz.setCaption(QStringLiteral("MHz"));
    fraTunningWord.setCaption(QStringLiteral("Tuning Word Values"));
    setUpByteBoxes(txtTW, QStringLiteral("Enter the binary value of the tuning word you want."));
    lblTWBin.setCaption(QStringLiteral("Bin"));
    setUpWordView(txtTWHex, QStringLiteral("000000000000"),
                  QStringLiteral("Enter the hexidecimal value of the tuning word you want."));
    lblHex.setCaption(QStringLiteral("Hex"));
    setUpWordView(txtTWDec, QStringLiteral("00000000"),
                  QStringLiteral("Enter the decimal value of the tuning word you want."));
    lblDec.setCaption(QStringLiteral("Dec"));
    setUpSpinBar(vscDecTWVal);
    OKButton.setCaption(QStringLiteral("OK"));
    setUpCancelButton(CancelButton);
    shpOKHilight.setShape(ui::vbShapeRectangle);
    shpOKHilight.setBorderWidth(2);
    lblAutoSizeOutFreq.setCaption(QStringLiteral("-000.0000000000000"));
    lblAutoSizeHex.setCaption(QStringLiteral(" 000000000000"));
    lblAutoSizeDec.setCaption(QStringLiteral("-00000000"));
    for (ui::Label* sizer : {&lblAutoSizeOutFreq, &lblAutoSizeHex, &lblAutoSizeDec}) {
        sizer->setAutoSize(true);
        sizer->setVisible(false);
    }

    wireValueBox(
        txtOutputFreqVal, [this](int& key) { txtOutputFreqVal_KeyPress(key); },
        [this] { return txtOutputFreqVal_Entry(); });
    for (int i = 0; i < kBoxCount; ++i)
        wireValueBox(
            txtTW(i), [](int& key) { key = KeyFilterBinary(key); }, [this, i] { return txtTW_Entry(i); });
    wireValueBox(
        txtTWHex, [](int& key) { key = KeyFilterHex(key); }, [this] { return txtTWHex_Entry(); });
    wireValueBox(
        txtTWDec,
        [this](int& key) {
            key = KeyFilterNumeric2(key);
            if (!signed_)
                key = KeyFilterNoSign(key);
        },
        [this] { return txtTWDec_Entry(); });
    ui::bind(vscDecTWVal.Change, this, &frmEditOutFreq::vscDecTWVal_Change);
    ui::bind(OKButton.Click, this, &frmEditOutFreq::OKButton_Click);
    ui::bind(CancelButton.Click, this, &frmEditOutFreq::CancelButton_Click);
    OKButton.GotFocus = [this] { shpOKHilight.setVisible(false); };
    OKButton.LostFocus = [this] { shpOKHilight.setVisible(true); };
}

void frmEditOutFreq::ShowEditDialog(ui::TextBox& box, const QString& caption,
                                    const profiles::EditValue& clock, int16_t bits,
                                    std::optional<bool> signedWords)
{
    // The locale is asked at every opening: the user may have changed it since the program started.
    const rt::NumberLocale& locale = rt::numberLocale();
    separator_ = locale.decimalSeparator;
    separatorCode_ = separator_.unicode();
    negativeSign_ = locale.negativeSign;

    Load();
    bits_ = byteWidth(bits);
    const std::optional<double> clockValue = clock.number();
    clockValid_ = clockValue && *clockValue > 0.0;
    clock_ = clockValid_ ? *clockValue : 0.0;
    frequencyPattern_ = edtFormatString(bits_, profiles::EditValue(clock_));
    decimalDigits_ =
        static_cast<int>((rt::Decimal::powerOfTwo(bits_) - rt::Decimal(1)).toInvariantString().size());
    decimalPattern_ = QString(decimalDigits_, QLatin1Char('0'));
    hexDigits_ = bits_ / 4;

    layOutForBytes(bits_ / 8);
    txtTWHex.setMaxLength(hexDigits_);
    signed_ = signedWords.value_or(false);
    txtTWDec.setMaxLength(signed_ ? 18 : 17);
    sizeBoxes();

    setCaption(caption);
    target_ = &box;
    accepted_ = false;
    rt::Decimal start;
    const profiles::TypedWord tag = profiles::readTypedWord(box.Tag);
    if (tag.kind == profiles::TypedKind::Number && inRange(tag.value))
        start = tag.value;

    // The frequency view opens with the clock's pattern; every other view follows the word.
    SetFreqMaxLength(start);
    showText(txtOutputFreqVal, clockFrequencyText(start));
    txtOutputFreqVal.setLocked(!clockValid_);
    txtOutputFreqVal.SetFocus();
    SetTW(start, &txtOutputFreqVal);
    dropPendingEntry();
    Show(1);

    if (accepted_) {
        box.Tag = txtTWDec.Text();
        box.setText(txtOutputFreqVal.Text());
    } else if (box.Tag.isEmpty()) {
        box.Tag = QStringLiteral("0");
    }
    Unload();
}

void frmEditOutFreq::Form_Unload(int& cancel)
{
    (void)cancel;
    accepted_ = false;
    target_ = nullptr;
}

void frmEditOutFreq::layOutForBytes(int bytes)
{
    for (int i = 0; i < kBoxCount; ++i)
        txtTW(i).setVisible(i >= kBoxCount - bytes);
}

void frmEditOutFreq::sizeBoxes()
{
    // The hidden self-sizing labels measure what each box must show.
    lblAutoSizeOutFreq.setCaption(QStringLiteral(" -00") + frequencyPattern_);
    lblAutoSizeDec.setCaption(QStringLiteral(" -") + decimalPattern_);
    lblAutoSizeHex.setCaption(QStringLiteral(" .") + QString(hexDigits_, QLatin1Char('A')));
    const auto fit = [](ui::TextBox& box, const ui::Label& sizer) {
        if (QWidget* w = box.widget())
            w->setFixedWidth(sizer.Width() + 12);
    };
    fit(txtOutputFreqVal, lblAutoSizeOutFreq);
    fit(txtTWDec, lblAutoSizeDec);
    fit(txtTWHex, lblAutoSizeHex);
}

rt::Decimal frmEditOutFreq::lowestWord() const
{
    return signed_ ? -rt::Decimal::powerOfTwo(bits_ - 1) : rt::Decimal();
}

rt::Decimal frmEditOutFreq::highestWord() const
{
    return (signed_ ? rt::Decimal::powerOfTwo(bits_ - 1) : rt::Decimal::powerOfTwo(bits_)) - rt::Decimal(1);
}

bool frmEditOutFreq::inRange(const rt::Decimal& word) const
{
    return word >= lowestWord() && word <= highestWord();
}

QString frmEditOutFreq::clockFrequencyText(const rt::Decimal& word) const
{
    return edtFormatFreq(edtFTWToFreq(word, clock_, bits_), bits_, profiles::EditValue(clock_));
}

void frmEditOutFreq::SetFreqMaxLength(const rt::Decimal& word)
{
    const QString shown = edtFormatFreq(edtFTWToFreq(word, clock_, bits_), bits_);
    const int position = static_cast<int>(shown.indexOf(separator_)) + 1;
    const int length = static_cast<int>(frequencyPattern_.size());
    int maximum;
    if (!signed_)
        maximum = position == 2 ? length : position == 3 ? length + 1 : length + 2;
    else
        maximum = position == 3 ? length + 1 : position == 4 ? length + 2 : length + 3;
    txtOutputFreqVal.setMaxLength(maximum);
}

void frmEditOutFreq::SetTW(const rt::Decimal& word, const ui::TextBox* except)
{
    word_ = word;
    if (except != &txtOutputFreqVal) {
        const bool negative = signed_ && word.isNegative();
        const rt::Decimal frequency = edtFTWToFreq(word.abs(), clock_, bits_);
        SetFreqMaxLength(word);
        // Without the clock: the 1 MHz pattern, finer than the clock's.
        showText(txtOutputFreqVal, edtFormatFreq(negative ? -frequency : frequency, bits_));
    }
    if (except != &txtTWDec)
        showText(txtTWDec, rt::Format(word, decimalPattern_));
    if (except != &txtTWHex)
        showText(txtTWHex, signed_ ? cbaseDec2HexNegs(word, hexDigits_) : cbaseHex(word, hexDigits_));
    const QString bitsText = cbaseDec2Bin(word, bits_);
    for (int i = 0; i < kBoxCount; ++i) {
        if (except == &txtTW(i))
            continue;
        // Box i shows the byte at position 41 - 8i of a 48-bit string; a narrower word leaves the boxes
        // beyond its length empty.
        const int start = 40 - 8 * i;
        showText(txtTW(i), start < bitsText.size() ? bitsText.mid(start, 8) : QString());
    }
}

void frmEditOutFreq::txtOutputFreqVal_KeyPress(int& key)
{
    key = KeyFilterNumeric(key);
    if (!signed_)
        key = KeyFilterNoSign(key);
    if (key == 'E' || key == 'e')
        key = 0;
    if (key != 0 && key == separatorCode_ && profiles::separatorAlreadyTyped(txtOutputFreqVal, separator_))
        key = 0;
    if (IsPrintableKey(key)) {
        // Up to three integer digits may be typed in front of the separator.
        const QString text = txtOutputFreqVal.Text();
        const int position = static_cast<int>(text.indexOf(separator_)) + 1;
        if (position >= 1 && position <= 3 && txtOutputFreqVal.SelStart() < position)
            txtOutputFreqVal.setMaxLength(static_cast<int>(text.size()) + 1);
    }
}

bool frmEditOutFreq::txtOutputFreqVal_Entry()
{
    const QString text = txtOutputFreqVal.Text();
    // An emptied box means 0 Hz, in every view and in the word, as if 0 had been typed.
    const profiles::TypedDouble typed = text.trimmed().isEmpty()
                                            ? profiles::TypedDouble{profiles::TypedKind::Number, 0.0}
                                            : profiles::readTypedDouble(text);
    if (!clockValid_ || typed.kind == profiles::TypedKind::NotANumber) {
        // Nothing to convert: the view goes back to the word's frequency.
        showText(txtOutputFreqVal, clockFrequencyText(word_));
        return true;
    }
    const bool negative = typed.kind == profiles::TypedKind::BelowType ||
                          (typed.kind == profiles::TypedKind::Number && typed.value < 0.0);
    rt::Decimal word;
    if (!negative || signed_) {
        const rt::Decimal highest =
            signed_ ? rt::Decimal::powerOfTwo(bits_ - 1) - rt::Decimal(1) : highestWord();
        const double ceiling = edtFTWToFreq(highest + rt::Decimal(1), clock_, bits_).toDouble();
        double magnitude = typed.kind == profiles::TypedKind::Number ? std::abs(typed.value) : ceiling;
        if (magnitude >= ceiling)
            magnitude = edtFTWToFreq(highest, clock_, bits_).toDouble();
        word = edtFreqToFTW(magnitude, clock_, bits_);
        // Just below the ceiling the rounding can still reach it; the word must stay a word.
        if (word > highest)
            word = highest;
        if (negative)
            word = -word;
    }
    // An unsigned word has no negative frequencies: they stand below the range and become 0.
    SetFreqMaxLength(word);
    showText(txtOutputFreqVal, clockFrequencyText(word));
    SetTW(word, &txtOutputFreqVal);
    moveFocusTo(OKButton);
    return true;
}

bool frmEditOutFreq::txtTWDec_Entry()
{
    const profiles::TypedWord typed = profiles::readTypedWord(txtTWDec.Text());
    if (typed.kind == profiles::TypedKind::NotANumber) {
        showText(txtTWDec, rt::Format(0, decimalPattern_));
        SetTW(rt::Decimal(), &txtTWDec);
        return true;
    }
    if (typed.kind == profiles::TypedKind::Number && inRange(typed.value)) {
        showText(txtTWDec, rt::Format(typed.value, decimalPattern_));
        SetTW(typed.value, &txtTWDec);
        return true;
    }
    // Out of range (either side): the word becomes 0 and the focus stays, without a message.
    showText(txtTWDec, rt::Format(0, decimalPattern_));
    SetTW(rt::Decimal(), &txtTWDec);
    return false;
}

bool frmEditOutFreq::txtTWHex_Entry()
{
    const HexReading reading = readHex(txtTWHex.Text(), signed_);
    if (!reading.aboveType && inRange(reading.value)) {
        showText(txtTWHex,
                 signed_ ? cbaseDec2HexNegs(reading.value, hexDigits_) : cbaseHex(reading.value, hexDigits_));
        SetTW(reading.value, &txtTWHex);
        return true;
    }
    ui::MsgBox(QStringLiteral("The hex value of the Tunning Word should not exceed ") +
               QString(bits_ / 4, QLatin1Char('F')));
    showText(txtTWHex, cbaseHex(0, hexDigits_));
    SetTW(rt::Decimal(), &txtTWHex);
    return false;
}

bool frmEditOutFreq::txtTW_Entry(int index)
{
    showText(txtTW(index), profiles::normalizedByte(txtTW(index).Text()));
    QString joined;
    for (int i = kBoxCount - 1; i >= 0; --i)
        if (txtTW(i).Visible())
            joined += profiles::normalizedByte(txtTW(i).Text());
    rt::Decimal value = signed_ ? cbaseSignedBinS2Dec(joined) : cbaseBinS2Dec(joined);
    if (!inRange(value))
        value = rt::Decimal();
    SetTW(value, &txtTW(index));
    return true;
}

void frmEditOutFreq::vscDecTWVal_Change()
{
    // The spin bar stops one short of the most negative two's-complement word.
    const rt::Decimal lowest = signed_ ? lowestWord() + rt::Decimal(1) : lowestWord();
    stepWord(vscDecTWVal, txtTWDec, lowest, highestWord(),
             [this](const rt::Decimal& next) { SetTW(next, nullptr); });
}

void frmEditOutFreq::OKButton_Click()
{
    if (!finishPendingEntry())
        return;
    accepted_ = true;
    Hide();
}

void frmEditOutFreq::CancelButton_Click()
{
    dropPendingEntry();
    accepted_ = false;
    Hide();
}
