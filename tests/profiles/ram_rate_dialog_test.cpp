#include "qstring_print.h"

#include "edit_dialog_support.h"

#include "platform/ui/test_doubles.h"
#include "profiles/frm_edit_ram_addr_rr.h"
#include "profiles/mod_edit_dialog_subs.h"

#include <gtest/gtest.h>

namespace {

using edit_dialog_test::paste;
using edit_dialog_test::press;
using edit_dialog_test::retype;
using edit_dialog_test::typeInto;

struct RateViews {
    QString time, decimal, hex, high, low;
};

void expectViews(const frmEditRAMAddrRR& d, const RateViews& e)
{
    EXPECT_EQ(d.txtRampRateTime.Text(), e.time);
    EXPECT_EQ(d.txtDec.Text(), e.decimal);
    EXPECT_EQ(d.txtHex.Text(), e.hex);
    EXPECT_EQ(d.txtBin(1).Text(), e.high);
    EXPECT_EQ(d.txtBin(0).Text(), e.low);
}

void open(ui::TextBox& box, const QString& clock, std::function<void(frmEditRAMAddrRR&)> answer)
{
    edit_dialog_test::answerDialog<frmEditRAMAddrRR>(std::move(answer));
    ui::form<frmEditRAMAddrRR>().ShowEditDialog(box, QStringLiteral("Edit RAM Address Ramp Rate"), clock);
}

const QString kClipMessage =
    QStringLiteral("The vaid range for the Delta Frequency Ramp Rate Time is 262.1400uS to "
                   "0uS .\r\nThe value entered will be clipped!");
const QString kDecimalLimit =
    QStringLiteral("The decimal value of the Delta Frequency Ramp Rate Word should not exceed 65535");
const QString kUnusableClock =
    QStringLiteral("Invalid system clock value.\r\nA ramp rate time cannot be converted while the system "
                   "clock is not a positive number; the ramp rate word stays as it is.");
const RateViews kZero{"0.0000", "00000", "0000", "00000000", "00000000"};

class RampRateDialog : public edit_dialog_test::CallerTest {
protected:
    void TearDown() override { gvEditSysClock.reset(); }
};

struct RateCase {
    const char* name;
    int view; // 0 time, 1 decimal, 2 hex, 3 high byte
    const char* typed;
    RateViews after;
    QString message;
};

class RampRateEntries : public RampRateDialog, public ::testing::WithParamInterface<RateCase> {};

TEST_P(RampRateEntries, EveryViewFollowsTheEntry)
{
    const RateCase c = GetParam();
    field.Tag = QStringLiteral("0");
    open(field, QStringLiteral("1000"), [&](frmEditRAMAddrRR& d) {
        ui::TextBox* views[] = {&d.txtRampRateTime, &d.txtDec, &d.txtHex, &d.txtBin(1)};
        if (!c.message.isEmpty())
            ui::testing::messageBoxes().expect(c.message, ui::vbOK);
        paste(*views[c.view], QString::fromLatin1(c.typed));
        typeInto(*views[c.view], QStringLiteral("\r"));
        expectViews(d, c.after);
        const auto& shown = ui::testing::messageBoxes().shown;
        ASSERT_EQ(shown.size(), c.message.isEmpty() ? 0u : 1u);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(shown[0].prompt, c.message);
            const bool clipped = c.message == kClipMessage;
            EXPECT_EQ(shown[0].title, clipped ? QStringLiteral("Maximum Ramp Rate Time Exceeded!!!")
                                              : ui::applicationTitle());
            EXPECT_EQ(shown[0].buttons, clipped ? ui::vbOKOnly | ui::vbExclamation : ui::vbOKOnly);
        }
        press(d.OKButton);
    });
    EXPECT_EQ(field.Tag, c.after.decimal);
    EXPECT_EQ(field.Text(), c.after.time);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RampRateEntries,
    ::testing::Values(
        RateCase{"TooLongIsClipped",
                 0,
                 "300",
                 {"262.1400", "65535", "FFFF", "11111111", "11111111"},
                 kClipMessage},
        RateCase{"HalfWordUpToEven", 0, "0.006", {"0.0080", "00002", "0002", "00000000", "00000010"}, {}},
        RateCase{"HalfWordDownToEven", 0, "0.002", kZero, {}}, RateCase{"Empty", 0, "", kZero, {}},
        RateCase{"PastedNegative", 0, "-1", kZero, kClipMessage},
        RateCase{"DecimalHighest", 1, "65535", {"262.1400", "65535", "FFFF", "11111111", "11111111"}, {}},
        RateCase{"DecimalOver", 1, "65536", kZero, kDecimalLimit},
        RateCase{"DecimalOverflow", 1, "9E99", kZero, kDecimalLimit},
        RateCase{"DecimalNegative", 1, "-1", kZero, kDecimalLimit},
        RateCase{"Hex", 2, "ff", {"1.0200", "00255", "00FF", "00000000", "11111111"}, {}},
        RateCase{"HighByte", 3, "1", {"1.0240", "00256", "0100", "00000001", "00000000"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RampRateDialog, OkWithoutEditsHandsBackThePaddedWordAndItsTime)
{
    field.Tag = QStringLiteral("250");
    field.setText(QStringLiteral("stale"));
    open(field, QStringLiteral("1000"), [](frmEditRAMAddrRR& d) {
        EXPECT_EQ(d.Caption(), QStringLiteral("Edit RAM Address Ramp Rate"));
        EXPECT_EQ(d.GetClosestRRTime(QStringLiteral("0.0061")), QStringLiteral("0.008"));
        press(d.OKButton);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("00250"));
    EXPECT_EQ(field.Text(), QStringLiteral("1.0000"));
}

TEST_F(RampRateDialog, TagThatIsNoWordOpensAtZero)
{
    for (const char* tag : {"", "junk", "-4", "70000"}) {
        field.Tag = QString::fromLatin1(tag);
        open(field, QStringLiteral("1000"), [](frmEditRAMAddrRR& d) {
            expectViews(d, kZero);
            press(d.OKButton);
        });
        EXPECT_EQ(field.Tag, QStringLiteral("00000")) << tag;
        EXPECT_EQ(field.Text(), QStringLiteral("0.0000")) << tag;
    }
}

TEST_F(RampRateDialog, OkAfterATimeThatIsNoNumberRewritesItFromTheWord)
{
    field.Tag = QStringLiteral("3");
    open(field, QStringLiteral("1000"), [](frmEditRAMAddrRR& d) {
        paste(d.txtRampRateTime, QStringLiteral("1.2.3"));
        press(d.OKButton);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("00003"));
    EXPECT_EQ(field.Text(), QStringLiteral("0.0120"));
}

TEST_F(RampRateDialog, SeparatorNearTheFrontLimitsTheIntegerDigits)
{
    field.Tag = QStringLiteral("0");
    open(field, QStringLiteral("1000"), [](frmEditRAMAddrRR& d) {
        retype(d.txtRampRateTime, QStringLiteral("1.2345"));
        d.txtRampRateTime.setSelStart(0);
        typeInto(d.txtRampRateTime, QStringLiteral("9"));
        EXPECT_EQ(d.txtRampRateTime.MaxLength(), 6);
        EXPECT_EQ(d.txtRampRateTime.Text(), QStringLiteral("1.2345")) << "no room for another digit";
        retype(d.txtRampRateTime, QStringLiteral("-e.5.1"));
        EXPECT_EQ(d.txtRampRateTime.Text(), QStringLiteral(".51"));
        d.CancelButton.click();
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0"));
    // The next opening starts with the full length again.
    open(field, QStringLiteral("1000"), [](frmEditRAMAddrRR& d) {
        EXPECT_EQ(d.txtRampRateTime.MaxLength(), 10);
        d.CancelButton.click();
    });
}

TEST_F(RampRateDialog, ClockThatCannotConvertKeepsTheDialogShutWithOneMessage)
{
    auto& boxes = ui::testing::messageBoxes();
    for (const char* clock : {"0.00000", "-5", "abc"}) {
        const size_t shownBefore = boxes.shown.size();
        field.Tag = QStringLiteral("12");
        field.setText(QStringLiteral("0.0480"));
        boxes.expect(kUnusableClock, ui::vbOK);
        // The dialog must not be shown at all: no modal answer is planned for it.
        ui::form<frmEditRAMAddrRR>().ShowEditDialog(field, QStringLiteral("Edit RAM Address Ramp Rate"),
                                                    QString::fromLatin1(clock));
        ASSERT_EQ(boxes.shown.size(), shownBefore + 1) << clock;
        EXPECT_EQ(boxes.shown.back().title, QStringLiteral("Invalid Parameter Passed"));
        EXPECT_EQ(boxes.shown.back().buttons, ui::vbOKOnly | ui::vbExclamation);
        EXPECT_EQ(field.Tag, QStringLiteral("12"));
        EXPECT_EQ(field.Text(), QStringLiteral("0.0480"));
    }
    EXPECT_TRUE(ui::testing::modalShows().isEmpty());
}

} // namespace
