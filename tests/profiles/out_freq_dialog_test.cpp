#include "edit_dialog_support.h"
#include "qstring_print.h"

#include "platform/runtime/locale_info.h"
#include "platform/runtime/number_format.h"
#include "platform/ui/test_doubles.h"
#include "profiles/frm_edit_out_freq.h"

#include <gtest/gtest.h>

namespace {

using edit_dialog_test::paste;
using edit_dialog_test::retype;
using edit_dialog_test::typeInto;

const QString kCaption = QStringLiteral("Edit output frequency");

// Opens the dialog on the caller's box and lets `answer` work in it (it presses OK or Cancel).
void openDialog(ui::TextBox& box, const profiles::EditValue& clock, int16_t bits,
                std::function<void(frmEditOutFreq&)> answer, std::optional<bool> signedWords = std::nullopt)
{
    edit_dialog_test::answerDialog<frmEditOutFreq>(std::move(answer));
    ui::form<frmEditOutFreq>().ShowEditDialog(box, kCaption, clock, bits, signedWords);
}

void pressOK(frmEditOutFreq& dialog)
{
    edit_dialog_test::press(dialog.OKButton);
}

// The binary view of a 32-bit word: boxes 5 (most significant) down to 2.
QString binaryView(frmEditOutFreq& d)
{
    return d.txtTW(5).Text() + " " + d.txtTW(4).Text() + " " + d.txtTW(3).Text() + " " + d.txtTW(2).Text();
}

struct ViewState {
    QString frequency, decimal, hex, binary;
};

ViewState views(frmEditOutFreq& d)
{
    return {d.txtOutputFreqVal.Text(), d.txtTWDec.Text(), d.txtTWHex.Text(), binaryView(d)};
}

void expectViews(frmEditOutFreq& d, const ViewState& expected)
{
    const ViewState shown = views(d);
    EXPECT_EQ(shown.frequency, expected.frequency);
    EXPECT_EQ(shown.decimal, expected.decimal);
    EXPECT_EQ(shown.hex, expected.hex);
    EXPECT_EQ(shown.binary, expected.binary);
}

const ViewState kHundredMHz{QStringLiteral("100.00000009"), QStringLiteral("0429496730"),
                            QStringLiteral("1999999A"),
                            QStringLiteral("00011001 10011001 10011001 10011010")};
const ViewState kZero{QStringLiteral("0.00000000"), QStringLiteral("0000000000"), QStringLiteral("00000000"),
                      QStringLiteral("00000000 00000000 00000000 00000000")};
const QString kTopWord = QStringLiteral("4294967295");

class OutFreqDialog : public edit_dialog_test::CallerTest {};

// ---- the worked example, both ways ----

TEST_F(OutFreqDialog, TypedFrequencyBecomesTheRoundedWordInEveryView)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        EXPECT_EQ(d.Caption(), kCaption);
        expectViews(d, kZero);
        retype(d.txtOutputFreqVal, QStringLiteral("100\r"));
        expectViews(d, kHundredMHz);
        EXPECT_FALSE(d.txtTW(0).Visible());
        EXPECT_FALSE(d.txtTW(1).Visible());
        EXPECT_TRUE(d.txtTW(2).Visible() && d.txtTW(5).Visible());
        EXPECT_EQ(d.txtTW(0).Text(), QString());
        EXPECT_TRUE(d.OKButton.hasFocus()) << "the entry hands the focus to OK";
        EXPECT_FALSE(d.shpOKHilight.Visible());
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0429496730"));
    EXPECT_EQ(field.Text(), QStringLiteral("100.00000009"));
    EXPECT_FALSE(ui::Forms::isLoaded(frmEditOutFreq::FormName));
}

TEST_F(OutFreqDialog, CommaLocaleTypesAndShowsTheSameFrequency)
{
    rt::ScopedNumberLocale comma(QChar(u','));
    field.Tag = QStringLiteral("0");
    openDialog(field, QStringLiteral("1000,0"), 32, [](frmEditOutFreq& d) {
        retype(d.txtOutputFreqVal, QStringLiteral("100,0\r"));
        EXPECT_EQ(d.txtOutputFreqVal.Text(), QStringLiteral("100,00000009"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0429496730"));
        pressOK(d);
    });
    EXPECT_EQ(field.Text(), QStringLiteral("100,00000009"));
}

TEST_F(OutFreqDialog, OpensFromTheTagWithTheClockPatternAndZeroPaddedViews)
{
    field.Tag = QStringLiteral("429496730");
    field.setText(QStringLiteral("100.00000009"));
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        expectViews(d, kHundredMHz);
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0429496730"));
}

TEST_F(OutFreqDialog, WordViewsRewriteTheFrequencyWithTheFinerPattern)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        retype(d.txtTWHex, QStringLiteral("1999999a\r"));
        EXPECT_EQ(d.txtOutputFreqVal.Text(), QStringLiteral("100.00000009313"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0429496730"));
        EXPECT_EQ(d.txtTWHex.Text(), QStringLiteral("1999999A"));
        retype(d.txtTWDec, QStringLiteral("12345\r"));
        EXPECT_EQ(d.txtOutputFreqVal.Text(), QStringLiteral("0.00287429430"));
        EXPECT_EQ(d.txtTWHex.Text(), QStringLiteral("00003039"));
        EXPECT_EQ(binaryView(d), QStringLiteral("00000000 00000000 00110000 00111001"));
        retype(d.txtTW(5), QStringLiteral("1\r"));
        EXPECT_EQ(d.txtTW(5).Text(), QStringLiteral("00000001"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0016789561")); // 2^24 + 12345
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0016789561"));
}

// ---- OK and Cancel ----

TEST_F(OutFreqDialog, CancelChangesNothingButAnEmptyTag)
{
    field.Tag = QStringLiteral("429496730");
    field.setText(QStringLiteral("as it was"));
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        retype(d.txtOutputFreqVal, QStringLiteral("200\r"));
        d.CancelButton.click();
    });
    EXPECT_EQ(field.Tag, QStringLiteral("429496730"));
    EXPECT_EQ(field.Text(), QStringLiteral("as it was"));

    field.Tag.clear();
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) { d.CancelButton.click(); });
    EXPECT_EQ(field.Tag, QStringLiteral("0"));
    EXPECT_EQ(field.Text(), QStringLiteral("as it was"));
}

TEST_F(OutFreqDialog, ClosingTheWindowActsAsCancel)
{
    field.Tag.clear();
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        retype(d.txtTWDec, QStringLiteral("7\r"));
        d.Unload(ui::vbFormControlMenu);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0"));
    EXPECT_EQ(field.Text(), QString());
}

TEST_F(OutFreqDialog, OkTakesAViewTheUserTypedIntoButDidNotLeave)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        paste(d.txtTWHex, QStringLiteral("1999999A"));
        d.OKButton.click(); // pressed without the focus moving first
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0429496730"));
    EXPECT_EQ(field.Text(), QStringLiteral("100.00000009313"));
}

TEST_F(OutFreqDialog, LeavingTheFrequencyBoxRunsItsEntry)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        retype(d.txtOutputFreqVal, QStringLiteral("100"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000000"));
        d.txtTWHex.SetFocus();
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0429496730"));
        EXPECT_TRUE(d.txtTWHex.hasFocus()) << "the focus goes where the user sent it";
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0429496730"));
}

// ---- the frequency box ----

TEST_F(OutFreqDialog, FrequencyAtOrAboveTheClockTakesTheHighestWord)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        paste(d.txtOutputFreqVal, QStringLiteral("1000"));
        typeInto(d.txtOutputFreqVal, QStringLiteral("\r"));
        EXPECT_EQ(d.txtTWDec.Text(), kTopWord);
        EXPECT_EQ(d.txtOutputFreqVal.Text(), QStringLiteral("999.99999977"));
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, kTopWord);
}

TEST_F(OutFreqDialog, FrequencyJustBelowTheClockNeverWrapsToZero)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        // 0.9999999999 x 2^32 rounds to 2^32, one past the highest word
        paste(d.txtOutputFreqVal, QStringLiteral("999.9999999"));
        typeInto(d.txtOutputFreqVal, QStringLiteral("\r"));
        expectViews(d, {QStringLiteral("999.99999977"), kTopWord, QStringLiteral("FFFFFFFF"),
                        QStringLiteral("11111111 11111111 11111111 11111111")});
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, kTopWord);
    EXPECT_EQ(field.Text(), QStringLiteral("999.99999977"));
}

struct FrequencyPaste {
    const char* name;
    const char* text;
    const char* tagAfter;
    const char* frequencyAfter;
};

class OutFreqPaste : public OutFreqDialog, public ::testing::WithParamInterface<FrequencyPaste> {};

TEST_P(OutFreqPaste, TextPastTheKeyFiltersIsRangeCheckedAsANumber)
{
    const FrequencyPaste c = GetParam();
    field.Tag = QStringLiteral("429496730");
    field.setText(QStringLiteral("100.00000009"));
    openDialog(field, 1000.0, 32, [&](frmEditOutFreq& d) {
        paste(d.txtOutputFreqVal, QString::fromUtf8(c.text));
        typeInto(d.txtOutputFreqVal, QStringLiteral("\r"));
        EXPECT_EQ(d.txtTWDec.Text(), QString::fromLatin1(c.tagAfter));
        EXPECT_EQ(d.txtOutputFreqVal.Text(), QString::fromLatin1(c.frequencyAfter));
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QString::fromLatin1(c.tagAfter));
    EXPECT_EQ(field.Text(), QString::fromLatin1(c.frequencyAfter));
}

INSTANTIATE_TEST_SUITE_P(Cases, OutFreqPaste,
                         ::testing::Values(
                             // a negative frequency lies below an unsigned word's range
                             FrequencyPaste{"Negative", "-5", "0000000000", "0.00000000"},
                             // too large for any number: above the range
                             FrequencyPaste{"BeyondDouble", "1E999", "4294967295", "999.99999977"},
                             // not a number: the view goes back to the word it shows
                             FrequencyPaste{"NotANumber", "1 2", "0429496730", "100.00000009"},
                             // emptied: 0 in every view and in the word
                             FrequencyPaste{"Emptied", "", "0000000000", "0.00000000"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutFreqDialog, FrequencyKeysAreFilteredAndOneSeparatorIsKept)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        retype(d.txtOutputFreqVal, QStringLiteral("a-+e1E.5.5"));
        EXPECT_EQ(d.txtOutputFreqVal.Text(), QStringLiteral("1.55"));
        d.CancelButton.click();
    });
}

TEST_F(OutFreqDialog, CommaLocaleRefusesThePointAsSeparator)
{
    rt::ScopedNumberLocale comma(QChar(u','));
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        retype(d.txtOutputFreqVal, QStringLiteral("1.5,5,5"));
        EXPECT_EQ(d.txtOutputFreqVal.Text(), QStringLiteral("15,55"));
        d.CancelButton.click();
    });
}

TEST_F(OutFreqDialog, IntegerDigitsMayBeTypedInFrontOfTheSeparator)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        ui::TextBox& box = d.txtOutputFreqVal;
        EXPECT_EQ(box.Text(), QStringLiteral("0.00000000"));
        EXPECT_EQ(box.MaxLength(), 10);
        edit_dialog_test::clickInto(box);
        box.setSelStart(1);
        box.setSelLength(0);
        typeInto(box, QStringLiteral("25"));
        EXPECT_EQ(box.Text(), QStringLiteral("025.00000000"));
        typeInto(box, QStringLiteral("\r"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0107374182")); // 25 x 2^32 / 1000 = 107374182.4
        d.CancelButton.click();
    });
}

// ---- the decimal, hexadecimal and binary views ----

struct WordEntry {
    const char* name;
    const char* text;
    const char* decimalAfter;
    const char* hexAfter;
    bool focusStays;
};

class OutFreqDecimal : public OutFreqDialog, public ::testing::WithParamInterface<WordEntry> {};

TEST_P(OutFreqDecimal, EntryIsRoundedAndCheckedAgainstBothLimits)
{
    const WordEntry c = GetParam();
    field.Tag = QStringLiteral("5");
    openDialog(field, 1000.0, 32, [&](frmEditOutFreq& d) {
        paste(d.txtTWDec, QString::fromUtf8(c.text));
        d.OKButton.SetFocus(); // leaving the box runs its entry
        EXPECT_EQ(d.txtTWDec.hasFocus(), c.focusStays);
        EXPECT_EQ(d.txtTWDec.Text(), QString::fromLatin1(c.decimalAfter));
        EXPECT_EQ(rt::Format(d.word(), QStringLiteral("0000000000")), QString::fromLatin1(c.decimalAfter));
        EXPECT_EQ(d.txtTWHex.Text(), QString::fromLatin1(c.hexAfter)) << "the hex view follows the same word";
        EXPECT_TRUE(ui::testing::messageBoxes().shown.empty()) << "the decimal view has no message";
        d.CancelButton.click();
    });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutFreqDecimal,
    ::testing::Values(WordEntry{"Plain", "12345", "0000012345", "00003039", false},
                      WordEntry{"HalfRoundsToEven", "2.5", "0000000002", "00000002", false},
                      WordEntry{"HalfRoundsUpToEven", "3.5", "0000000004", "00000004", false},
                      WordEntry{"Highest", "4294967295", "4294967295", "FFFFFFFF", false},
                      WordEntry{"OnePastHighest", "4294967296", "0000000000", "00000000", true},
                      WordEntry{"RoundsPastHighest", "4294967295.5", "0000000000", "00000000", true},
                      WordEntry{"Negative", "-1", "0000000000", "00000000", true},
                      WordEntry{"BeyondDecimal", "1E40", "0000000000", "00000000", true},
                      WordEntry{"NotANumber", "x", "0000000000", "00000000", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutFreqDialog, DecimalKeysRefuseSignsForUnsignedWords)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        retype(d.txtTWDec, QStringLiteral("-+x12"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("12"));
        d.CancelButton.click();
    });
}

TEST_F(OutFreqDialog, HexEntryOverTheLimitBringsTheMessageAndZero)
{
    field.Tag = QStringLiteral("5");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        paste(d.txtTWHex, QStringLiteral("100000000")); // nine digits: longer than typing allows
        ui::testing::messageBoxes().answer(ui::vbOK);
        d.OKButton.SetFocus();
        EXPECT_TRUE(d.txtTWHex.hasFocus()) << "the refused entry keeps the focus";
        EXPECT_EQ(
            ui::testing::messageBoxes().prompts(),
            QStringList{QStringLiteral("The hex value of the Tunning Word should not exceed FFFFFFFF")});
        EXPECT_EQ(d.txtTWHex.Text(), QStringLiteral("00000000"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000000"));
        d.CancelButton.click();
    });
}

TEST_F(OutFreqDialog, InvalidHexReadsAsZeroAndKeysAreUpperCased)
{
    field.Tag = QStringLiteral("5");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        retype(d.txtTWHex, QStringLiteral("ag"));
        EXPECT_EQ(d.txtTWHex.Text(), QStringLiteral("A"));
        typeInto(d.txtTWHex, QStringLiteral("\r"));
        EXPECT_EQ(d.txtTWHex.Text(), QStringLiteral("0000000A"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000010"));
        retype(d.txtTWHex, QStringLiteral("1 2\r")); // the blank passes the filter
        EXPECT_EQ(d.txtTWHex.Text(), QStringLiteral("00000000"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000000"));
        EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
        d.CancelButton.click();
    });
}

TEST_F(OutFreqDialog, BinaryBoxesTakeEightDigitsAndRefuseAnythingElse)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        retype(d.txtTW(2), QStringLiteral("1111111112"));
        EXPECT_EQ(d.txtTW(2).Text(), QStringLiteral("11111111")) << "at most 8 digits are typed";
        typeInto(d.txtTW(2), QStringLiteral("\r"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000255"));
        paste(d.txtTW(3), QStringLiteral("12"));
        typeInto(d.txtTW(3), QStringLiteral("\r"));
        EXPECT_EQ(d.txtTW(3).Text(), QStringLiteral("00000000")) << "not binary digits";
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000255"));
        d.txtTW(4).setText(QStringLiteral("111111111")); // nine characters, set past the limit
        d.txtTW(4).SetFocus();
        typeInto(d.txtTW(4), QStringLiteral("\r"));
        EXPECT_EQ(d.txtTW(4).Text(), QStringLiteral("00000000"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000255"));
        d.txtTW(0).setText(QStringLiteral("11111111")); // a hidden box does not join the word
        retype(d.txtTW(5), QStringLiteral("1\r"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0016777471"));
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0016777471"));
}

// ---- spin bar ----

TEST_F(OutFreqDialog, SpinBarStepsTheWordAndStopsAtBothLimits)
{
    field.Tag = kTopWord;
    openDialog(field, 1000.0, 32, [](frmEditOutFreq& d) {
        d.vscDecTWVal.SetFocus();
        d.vscDecTWVal.stepUp();
        EXPECT_EQ(d.txtTWDec.Text(), kTopWord);
        d.vscDecTWVal.stepDown();
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("4294967294"));
        EXPECT_EQ(d.txtTWHex.Text(), QStringLiteral("FFFFFFFE"));
        EXPECT_EQ(d.vscDecTWVal.Value(), 0);
        retype(d.txtTWDec, QStringLiteral("0\r"));
        d.vscDecTWVal.SetFocus();
        d.vscDecTWVal.stepDown();
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000000"));
        d.vscDecTWVal.stepUp();
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000001"));
        EXPECT_EQ(d.txtOutputFreqVal.Text(), QStringLiteral("0.00000023283"));
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0000000001"));
}

// ---- other widths, signed words, bad clocks ----

TEST_F(OutFreqDialog, WordWidthChoosesBoxesAndDigits)
{
    field.Tag = QStringLiteral("1");
    openDialog(field, 1000.0, 48, [](frmEditOutFreq& d) {
        for (int i = 0; i < 6; ++i)
            EXPECT_TRUE(d.txtTW(i).Visible());
        EXPECT_EQ(d.txtTW(0).Text(), QStringLiteral("00000001"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("000000000000001"));
        EXPECT_EQ(d.txtTWHex.Text(), QStringLiteral("000000000001"));
        EXPECT_EQ(d.txtTWHex.MaxLength(), 12);
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("000000000000001"));

    field.Tag = QStringLiteral("255");
    openDialog(field, 1000.0, 8, [](frmEditOutFreq& d) {
        EXPECT_TRUE(d.txtTW(5).Visible());
        EXPECT_FALSE(d.txtTW(4).Visible());
        EXPECT_EQ(d.txtTW(5).Text(), QStringLiteral("11111111"));
        EXPECT_EQ(d.txtOutputFreqVal.Text(),
                  QStringLiteral("996.")); // 1000 x 255 / 256; a resolution above 1 MHz shows no decimals
        retype(d.txtOutputFreqVal, QStringLiteral("2000\r"));
        EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("255"));
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("255"));
}

TEST_F(OutFreqDialog, SignedWordsShowTwosComplement)
{
    field.Tag = QStringLiteral("0");
    openDialog(
        field, 1000.0, 32,
        [](frmEditOutFreq& d) {
            retype(d.txtOutputFreqVal, QStringLiteral("-100\r"));
            expectViews(d,
                        {QStringLiteral("-100.00000009"), QStringLiteral("-0429496730"),
                         QStringLiteral("E6666666"), QStringLiteral("11100110 01100110 01100110 01100110")});
            retype(d.txtTWHex, QStringLiteral("FFFFFFFF\r"));
            EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("-0000000001"));
            retype(d.txtTWDec, QStringLiteral("3000000000\r")); // above the signed range
            EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000000"));
            retype(d.txtOutputFreqVal, QStringLiteral("600\r")); // above half the clock
            EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("2147483647"));
            pressOK(d);
        },
        true);
    EXPECT_EQ(field.Tag, QStringLiteral("2147483647"));
}

TEST_F(OutFreqDialog, ClockThatIsNotAPositiveNumberLeavesTheFrequencyViewAtZero)
{
    for (const profiles::EditValue& clock :
         {profiles::EditValue(QStringLiteral("abc")), profiles::EditValue(0.0)}) {
        field.Tag = QStringLiteral("7");
        openDialog(field, clock, 32, [](frmEditOutFreq& d) {
            EXPECT_TRUE(d.txtOutputFreqVal.Locked());
            EXPECT_EQ(d.txtOutputFreqVal.Text(), QStringLiteral("0.") + QString(40, u'0'));
            paste(d.txtOutputFreqVal, QStringLiteral("100"));
            typeInto(d.txtOutputFreqVal, QStringLiteral("\r"));
            EXPECT_EQ(d.txtTWDec.Text(), QStringLiteral("0000000007")) << "no word from a frequency";
            retype(d.txtTWDec, QStringLiteral("9\r"));
            EXPECT_EQ(d.txtTWHex.Text(), QStringLiteral("00000009"));
            pressOK(d);
        });
        EXPECT_EQ(field.Tag, QStringLiteral("0000000009"));
    }
}

} // namespace
