#include "qstring_print.h"

#include "edit_dialog_support.h"

#include "platform/ui/test_doubles.h"
#include "profiles/frm_edit_osf.h"

#include <gtest/gtest.h>

namespace {

using edit_dialog_test::paste;
using edit_dialog_test::press;
using edit_dialog_test::retype;

// Views in the order value, decimal, hex, upper bits (14-bit only), lower bits.
struct Views {
    QString value, decimal, hex, upper, lower;
};

void expectViews(const profiles::ScaleFactorDialog& d, const Views& e)
{
    EXPECT_EQ(d.txtValue.Text(), e.value);
    EXPECT_EQ(d.txtDecVal.Text(), e.decimal);
    EXPECT_EQ(d.txtHexVal.Text(), e.hex);
    if (d.txtBinVal.exists(1)) {
        EXPECT_EQ(d.txtBinVal(1).Text(), e.upper);
    }
    EXPECT_EQ(d.txtBinVal(0).Text(), e.lower);
}

template <typename Dialog> void open(ui::TextBox& box, std::function<void(Dialog&)> answer)
{
    edit_dialog_test::answerDialog<Dialog>(std::move(answer));
    ui::form<Dialog>().ShowEditDialog(box);
}

constexpr const char* kDec14 = "The decimal value of the output scale factor should not exceed 16383";
constexpr const char* kDec8 = "The decimal value of the output scale factor should not exceed 255";
constexpr const char* kHex14 = "The hex value of the Output Scale Factor should not exceed 3FFF";
const Views kZero14{"0.00000", "00000", "0000", "000000", "00000000"};

// One entry typed into a view, and every view afterwards.
struct EntryCase {
    const char* name;
    int view; // 0 value, 1 decimal, 2 hex, 3 lower binary
    const char* typed;
    Views after;
    const char* message; // "" none
};

class ScaleFactorEntries : public edit_dialog_test::CallerTest,
                           public ::testing::WithParamInterface<std::tuple<int, EntryCase>> {};

TEST_P(ScaleFactorEntries, EveryViewFollowsTheEntryAndOkHandsBackTheWord)
{
    const int bits = std::get<0>(GetParam());
    const EntryCase c = std::get<1>(GetParam());
    field.Tag = QStringLiteral("77");
    auto run = [&](profiles::ScaleFactorDialog& d) {
        ui::TextBox* views[] = {&d.txtValue, &d.txtDecVal, &d.txtHexVal, &d.txtBinVal(0)};
        const QString message = QString::fromLatin1(c.message);
        if (!message.isEmpty())
            ui::testing::messageBoxes().expect(message, ui::vbOK);
        paste(*views[c.view], QString::fromLatin1(c.typed));
        edit_dialog_test::typeInto(*views[c.view], QStringLiteral("\r"));
        expectViews(d, c.after);
        EXPECT_EQ(ui::testing::messageBoxes().prompts(),
                  message.isEmpty() ? QStringList{} : QStringList{message});
        for (const auto& box : ui::testing::messageBoxes().shown) {
            EXPECT_EQ(box.title, ui::applicationTitle());
            EXPECT_EQ(box.buttons, ui::vbOKOnly) << "OK only, no icon";
        }
        EXPECT_EQ(views[c.view]->hasFocus(), !message.isEmpty()) << "a refused entry keeps the focus";
        press(d.cmdOK);
    };
    if (bits == 14)
        open<frmEditOSF>(field, run);
    else
        open<frmEditOSF_QM>(field, run);
    EXPECT_EQ(field.Tag, c.after.decimal);
    EXPECT_EQ(field.Text(), c.after.value);
}

INSTANTIATE_TEST_SUITE_P(
    Amplitude, ScaleFactorEntries,
    ::testing::Combine(
        ::testing::Values(14),
        ::testing::Values(
            EntryCase{"Half", 0, "0.5", {"0.50000", "08192", "2000", "100000", "00000000"}, ""},
            EntryCase{"OneIsClipped", 0, "1", {"0.99994", "16383", "3FFF", "111111", "11111111"}, ""},
            EntryCase{"BelowHalfAWord", 0, "0.00003", {"0.00000", "00000", "0000", "000000", "00000000"}, ""},
            EntryCase{"HalfWayToEven",
                      0,
                      "0.000091552734375",
                      {"0.00012", "00002", "0002", "000000", "00000010"},
                      ""},
            EntryCase{"PastedNegative", 0, "-0.5", {"0.00000", "00000", "0000", "000000", "00000000"}, ""},
            EntryCase{"BeyondDouble", 0, "1E999", {"0.99994", "16383", "3FFF", "111111", "11111111"}, ""},
            EntryCase{"DecimalHighest", 1, "16383", {"0.99994", "16383", "3FFF", "111111", "11111111"}, ""},
            EntryCase{"DecimalOver", 1, "16384", {"0.00000", "00000", "0000", "000000", "00000000"}, kDec14},
            EntryCase{"DecimalOverflow",
                      1,
                      "99999999999",
                      {"0.00000", "00000", "0000", "000000", "00000000"},
                      kDec14},
            EntryCase{"DecimalNegative", 1, "-5", {"0.00000", "00000", "0000", "000000", "00000000"}, kDec14},
            EntryCase{"DecimalHalfDown", 1, "12.5", {"0.00073", "00012", "000C", "000000", "00001100"}, ""},
            EntryCase{"DecimalHalfUp", 1, "13.5", {"0.00085", "00014", "000E", "000000", "00001110"}, ""},
            EntryCase{"HexOver", 2, "4000", {"0.00000", "00000", "0000", "000000", "00000000"}, kHex14},
            EntryCase{"Binary", 3, "101", {"0.00031", "00005", "0005", "000000", "00000101"}, ""})),
    [](const auto& info) { return std::string(std::get<1>(info.param).name); });

INSTANTIATE_TEST_SUITE_P(
    QuadratureModulation, ScaleFactorEntries,
    ::testing::Combine(
        ::testing::Values(8),
        ::testing::Values(EntryCase{"One", 0, "1", {"1.0000000", "128", "80", "", "10000000"}, ""},
                          EntryCase{"Truncated", 0, "0.0078", {"0.0000000", "000", "00", "", "00000000"}, ""},
                          EntryCase{"TwoIsClipped", 0, "2", {"1.9921875", "255", "FF", "", "11111111"}, ""},
                          EntryCase{
                              "DecimalOver", 1, "256", {"0.0000000", "000", "00", "", "00000000"}, kDec8})),
    [](const auto& info) { return std::string(std::get<1>(info.param).name); });

class ScaleFactorDialog : public edit_dialog_test::CallerTest {};

TEST_F(ScaleFactorDialog, ScaleFactorOpensFromTheTagAndCancelKeepsTheCaller)
{
    field.Tag = QString();
    field.setText(QStringLiteral("as it was"));
    open<frmEditOSF>(field, [](frmEditOSF& d) {
        EXPECT_EQ(d.Caption(), QStringLiteral("Edit Output Scale Factor"));
        expectViews(d, kZero14);
        retype(d.txtDecVal, QStringLiteral("100\r"));
        d.cmdCancel.click();
    });
    EXPECT_EQ(field.Tag, QString());
    EXPECT_EQ(field.Text(), QStringLiteral("as it was"));

    field.Tag = QStringLiteral("0");
    open<frmEditOSF_QM>(field, [](frmEditOSF_QM& d) {
        expectViews(d, {"0.0000000", "000", "00", "", "00000000"});
        EXPECT_FALSE(d.txtBinVal.exists(1));
        retype(d.txtValue, QStringLiteral("1\r"));
        d.Unload(); // the close box
    });
    EXPECT_EQ(field.Tag, QStringLiteral("0"));
}

TEST_F(ScaleFactorDialog, ScaleFactorSpinBarStopsAtBothEnds)
{
    field.Tag = QStringLiteral("16383");
    open<frmEditOSF>(field, [](frmEditOSF& d) {
        d.vscValue.SetFocus();
        d.vscValue.stepUp();
        d.vscValue.stepUp();
        EXPECT_EQ(d.txtDecVal.Text(), QStringLiteral("16383")) << "no step past the top";
        d.vscValue.stepDown();
        expectViews(d, {"0.99988", "16382", "3FFE", "111111", "11111110"});
        EXPECT_EQ(d.vscValue.Value(), 0);
        press(d.cmdOK);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("16382"));
    field.Tag = QStringLiteral("0");
    open<frmEditOSF_QM>(field, [](frmEditOSF_QM& d) {
        d.vscValue.SetFocus();
        d.vscValue.stepDown();
        EXPECT_EQ(d.txtDecVal.Text(), QStringLiteral("000")) << "no step below 0";
        press(d.cmdOK);
    });
    EXPECT_EQ(field.Tag, QStringLiteral("000"));
}

} // namespace
