#include "qstring_print.h"

#include "edit_dialog_support.h"

#include "platform/runtime/locale_info.h"
#include "platform/ui/test_doubles.h"
#include "profiles/frm_edit_phase_offset1.h"
#include "profiles/mod_edit_dialog_subs.h"

#include <gtest/gtest.h>

namespace {

using edit_dialog_test::CallerForm;
using edit_dialog_test::paste;
using edit_dialog_test::retype;
using edit_dialog_test::typeInto;

void openDialog(ui::TextBox& box, const profiles::EditValue& clock,
                std::function<void(frmEditPhaseOffset1&)> answer)
{
    edit_dialog_test::answerDialog<frmEditPhaseOffset1>(std::move(answer));
    ui::form<frmEditPhaseOffset1>().ShowEditDialog(box, clock);
}

void pressOK(frmEditPhaseOffset1& dialog)
{
    edit_dialog_test::press(dialog.cmdOK);
}

struct PhaseViews {
    QString angle, decimal, hex, high, low;
};

void expectViews(frmEditPhaseOffset1& d, const PhaseViews& e)
{
    EXPECT_EQ(d.txtSearchPhaseOff.Text(), e.angle);
    EXPECT_EQ(d.txtDecVal.Text(), e.decimal);
    EXPECT_EQ(d.txtHexVal.Text(), e.hex);
    EXPECT_EQ(d.txtBinVal(1).Text(), e.high);
    EXPECT_EQ(d.txtBinVal(0).Text(), e.low);
}

const PhaseViews kZeroPhase{"0.000", "00000", "0000", "00000000", "00000000"};
const PhaseViews kTopPhase{"359.995", "65535", "FFFF", "11111111", "11111111"};
const QString kDecimalLimit = QStringLiteral("The decimal value of the Phase Offset should not exceed 65535");
const QString kHexLimit = QStringLiteral("The hex value of the Phase Offset should not exceed FFFF");

class PhaseDialog : public edit_dialog_test::CallerTest {
protected:
    void SetUp() override { gvEditSysClock.reset(); }
    void TearDown() override { gvEditSysClock.reset(); }
};

TEST_F(PhaseDialog, OpensFromTheTagInEveryView)
{
    field.Tag = QStringLiteral("16384");
    openDialog(field, 1000.0, [](frmEditPhaseOffset1& d) {
        EXPECT_EQ(d.Caption(), QStringLiteral("Edit Phase Offset"));
        expectViews(d, {"90.000", "16384", "4000", "01000000", "00000000"});
        EXPECT_TRUE(d.txtSearchPhaseOff.hasFocus());
        d.cmdCancel.click();
    });
    EXPECT_EQ(field.Tag, QStringLiteral("16384"));
}

TEST_F(PhaseDialog, OkWritesTheZeroPaddedWordAndTheAngle)
{
    field.Tag = QStringLiteral("512");
    openDialog(field, 1000.0, [](frmEditPhaseOffset1& d) {
        EXPECT_EQ(d.txtSearchPhaseOff.Text(), QStringLiteral("2.813"));
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("00512"));
    EXPECT_EQ(field.Text(), QStringLiteral("2.813"));
    EXPECT_FALSE(ui::Forms::isLoaded(frmEditPhaseOffset1::FormName));
}

TEST_F(PhaseDialog, CancelChangesNothingButAnEmptyTag)
{
    field.setText(QStringLiteral("as it was"));
    openDialog(field, 1000.0, [](frmEditPhaseOffset1& d) {
        retype(d.txtDecVal, QStringLiteral("77\r"));
        d.cmdCancel.click();
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0"));
    EXPECT_EQ(field.Text(), QStringLiteral("as it was"));
}

struct AngleCase {
    const char* name;
    const char* typed;
    const char* decimalAfter;
    const char* angleAfter;
};

class PhaseAngle : public ::testing::TestWithParam<std::tuple<QChar, AngleCase>> {
protected:
    CallerForm caller;
};

TEST_P(PhaseAngle, AngleBecomesTheNearestWordAndIsClippedSilently)
{
    const QChar separator = std::get<0>(GetParam());
    const AngleCase c = std::get<1>(GetParam());
    rt::ScopedNumberLocale locale(separator);
    const auto local = [&](const char* text) { return QString::fromLatin1(text).replace(u'.', separator); };
    caller.txtField.Tag = QStringLiteral("100");
    openDialog(caller.txtField, 1000.0, [&](frmEditPhaseOffset1& d) {
        paste(d.txtSearchPhaseOff, local(c.typed));
        typeInto(d.txtSearchPhaseOff, QStringLiteral("\r"));
        EXPECT_EQ(d.txtDecVal.Text(), QString::fromLatin1(c.decimalAfter));
        EXPECT_EQ(d.txtSearchPhaseOff.Text(), local(c.angleAfter));
        EXPECT_EQ(d.txtSearchPhaseOff.Tag, QString::number(QString::fromLatin1(c.decimalAfter).toInt()));
        EXPECT_TRUE(d.cmdOK.hasFocus());
        pressOK(d);
    });
    EXPECT_EQ(caller.txtField.Tag, QString::fromLatin1(c.decimalAfter));
    EXPECT_EQ(caller.txtField.Text(), local(c.angleAfter));
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty()) << "the angle view clips without a message";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PhaseAngle,
    ::testing::Combine(::testing::Values(QChar(u'.'), QChar(u',')),
                       ::testing::Values(AngleCase{"Full", "360", "65535", "359.995"},
                                         AngleCase{"BelowHalfStep", "0.0027", "00000", "0.000"},
                                         AngleCase{"AboveHalfStep", "0.003", "00001", "0.005"},
                                         AngleCase{"ExactHalfStep", "0.00274658203125", "00000", "0.000"},
                                         AngleCase{"Quarter", "90", "16384", "90.000"},
                                         AngleCase{"Negative", "-10", "00000", "0.000"},
                                         AngleCase{"BeyondDouble", "1E999", "65535", "359.995"},
                                         AngleCase{"NotANumber", "abc", "00000", "0.000"})),
    [](const auto& info) {
        return std::string(std::get<0>(info.param) == u'.' ? "Point" : "Comma") +
               std::get<1>(info.param).name;
    });

TEST_F(PhaseDialog, AngleKeysRefuseSignsAndASecondSeparator)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, [](frmEditPhaseOffset1& d) {
        retype(d.txtSearchPhaseOff, QStringLiteral("-+1.5.x5"));
        EXPECT_EQ(d.txtSearchPhaseOff.Text(), QStringLiteral("1.55"));
        d.cmdCancel.click();
    });
}

struct DecimalCase {
    const char* name;
    const char* text;
    const char* decimalAfter;
    bool message;
};

class PhaseDecimal : public PhaseDialog, public ::testing::WithParamInterface<DecimalCase> {};

TEST_P(PhaseDecimal, WordIsRoundedAndCheckedAgainstBothLimits)
{
    const DecimalCase c = GetParam();
    field.Tag = QStringLiteral("100");
    openDialog(field, 1000.0, [&](frmEditPhaseOffset1& d) {
        paste(d.txtDecVal, QString::fromUtf8(c.text));
        if (c.message)
            ui::testing::messageBoxes().answer(ui::vbOK);
        d.cmdOK.SetFocus(); // leaving the box runs its entry
        EXPECT_EQ(d.txtDecVal.Text(), QString::fromLatin1(c.decimalAfter));
        EXPECT_EQ(d.txtDecVal.hasFocus(), c.message) << "a refused entry keeps the focus";
        const QStringList expected = c.message ? QStringList{kDecimalLimit} : QStringList{};
        EXPECT_EQ(ui::testing::messageBoxes().prompts(), expected);
        if (c.message)
            expectViews(d, kZeroPhase);
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QString::fromLatin1(c.decimalAfter));
}

INSTANTIATE_TEST_SUITE_P(Cases, PhaseDecimal,
                         ::testing::Values(DecimalCase{"Plain", "512", "00512", false},
                                           DecimalCase{"HalfToEven", "2.5", "00002", false},
                                           DecimalCase{"HalfUpToEven", "1.5", "00002", false},
                                           DecimalCase{"Highest", "65535", "65535", false},
                                           DecimalCase{"OnePastHighest", "65536", "00000", true},
                                           DecimalCase{"RoundsPastHighest", "65535.5", "00000", true},
                                           DecimalCase{"Negative", "-5", "00000", true},
                                           DecimalCase{"BeyondLong", "99999999999", "00000", true},
                                           DecimalCase{"BeyondDecimal", "1E40", "00000", true},
                                           DecimalCase{"NotANumber", "x", "00000", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PhaseDialog, TypedNegativeDecimalIsRefusedWithTheLimitMessage)
{
    field.Tag = QStringLiteral("100");
    openDialog(field, 1000.0, [](frmEditPhaseOffset1& d) {
        ui::testing::messageBoxes().answer(ui::vbOK);
        retype(d.txtDecVal, QStringLiteral("-5\r")); // the decimal view's filter lets a sign through
        EXPECT_EQ(ui::testing::messageBoxes().prompts(), QStringList{kDecimalLimit});
        expectViews(d, kZeroPhase);
        EXPECT_TRUE(d.txtDecVal.hasFocus());
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("00000"));
}

TEST_F(PhaseDialog, HexOverTheLimitBringsTheMessageAndZeroInEveryView)
{
    field.Tag = QStringLiteral("100");
    openDialog(field, 1000.0, [](frmEditPhaseOffset1& d) {
        ui::testing::messageBoxes().answer(ui::vbOK);
        retype(d.txtHexVal, QStringLiteral("10000\r"));
        EXPECT_EQ(ui::testing::messageBoxes().prompts(), QStringList{kHexLimit});
        expectViews(d, kZeroPhase);
        EXPECT_TRUE(d.txtHexVal.hasFocus());
        retype(d.txtHexVal, QStringLiteral("ff\r"));
        expectViews(d, {"1.401", "00255", "00FF", "00000000", "11111111"});
        retype(d.txtHexVal, QStringLiteral("1 2\r")); // blanks pass the filter: not hexadecimal
        expectViews(d, kZeroPhase);
        EXPECT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("00000"));
}

TEST_F(PhaseDialog, BinaryBoxesJoinHighAndLowByte)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, 1000.0, [](frmEditPhaseOffset1& d) {
        retype(d.txtBinVal(1), QStringLiteral("1\r"));
        expectViews(d, {"1.406", "00256", "0100", "00000001", "00000000"});
        retype(d.txtBinVal(0), QStringLiteral("1111111112"));
        EXPECT_EQ(d.txtBinVal(0).Text(), QStringLiteral("11111111")) << "at most 8 digits are typed";
        typeInto(d.txtBinVal(0), QStringLiteral("\r"));
        EXPECT_EQ(d.txtDecVal.Text(), QStringLiteral("00511"));
        d.txtBinVal(1).setText(QStringLiteral("111111111")); // nine characters, set past the limit
        d.txtBinVal(1).SetFocus();
        typeInto(d.txtBinVal(1), QStringLiteral("\r"));
        expectViews(d, {"1.401", "00255", "00FF", "00000000", "11111111"});
        paste(d.txtBinVal(0), QStringLiteral("+1"));
        typeInto(d.txtBinVal(0), QStringLiteral("\r"));
        EXPECT_EQ(d.txtDecVal.Text(), QStringLiteral("00000"));
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("00000"));
}

TEST_F(PhaseDialog, SpinBarStepsAndStopsAtBothLimits)
{
    field.Tag = QStringLiteral("65535");
    openDialog(field, 1000.0, [](frmEditPhaseOffset1& d) {
        d.vscPhaseOffset.SetFocus();
        d.vscPhaseOffset.stepUp();
        expectViews(d, kTopPhase);
        d.vscPhaseOffset.stepDown();
        expectViews(d, {"359.989", "65534", "FFFE", "11111111", "11111110"});
        EXPECT_EQ(d.vscPhaseOffset.Value(), 0);
        retype(d.txtDecVal, QStringLiteral("0\r"));
        d.vscPhaseOffset.SetFocus();
        d.vscPhaseOffset.stepDown();
        expectViews(d, kZeroPhase);
        d.vscPhaseOffset.stepUp();
        EXPECT_EQ(d.txtDecVal.Text(), QStringLiteral("00001"));
        pressOK(d);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("00001"));
    EXPECT_EQ(field.Text(), QStringLiteral("0.005"));
}

TEST_F(PhaseDialog, ClockIsSharedWithTheRampRateConversions)
{
    field.Tag = QStringLiteral("0");
    openDialog(field, QStringLiteral("1000"), [](frmEditPhaseOffset1& d) { d.cmdCancel.click(); });
    ASSERT_TRUE(gvEditSysClock.has_value());
    EXPECT_TRUE(gvEditSysClock->isDecimal());
    EXPECT_DOUBLE_EQ(CalculateRRTime(1), 0.004);

    openDialog(field, QStringLiteral("fast"), [](frmEditPhaseOffset1& d) { d.cmdCancel.click(); });
    ui::testing::messageBoxes().answer(ui::vbOK);
    EXPECT_EQ(CalculateRRTime(1), 0.0) << "a clock that is not a number is reported, not divided by";
    EXPECT_EQ(ui::testing::messageBoxes().prompts(),
              QStringList{QStringLiteral("Error: CalculateRRTime()\r\nInvalid system clock value.")});
}

TEST_F(PhaseDialog, TagThatIsNoWordOpensAtZero)
{
    field.Tag = QStringLiteral("junk");
    openDialog(field, 1000.0, [](frmEditPhaseOffset1& d) {
        expectViews(d, kZeroPhase);
        d.cmdCancel.click();
    });
    EXPECT_EQ(field.Tag, QStringLiteral("junk"));
}

} // namespace
