#include "board/text_util.h"
#include "boardui/text_selection.h"

#include "platform/runtime/locale_info.h"
#include "platform/ui/controls_textbox.h"
#include "platform/ui/form.h"

#include <gtest/gtest.h>

namespace {

using Filter = int (*)(int);

struct FilterCase {
    int key;
    int expected;
};

void expectTable(Filter filter, std::initializer_list<FilterCase> cases, const char* name)
{
    for (const FilterCase& c : cases)
        EXPECT_EQ(filter(c.key), c.expected) << name << " key " << c.key;
}

TEST(TextUtilKeyFilters, NumericFollowsTheDecimalSeparator)
{
    for (Filter f : {&KeyFilterNumeric, &KeyFilterNumeric2}) {
        {
            rt::ScopedNumberLocale comma(QLatin1Char(','));
            expectTable(f, {{',', ','}, {'.', 0}}, "numeric comma");
        }
        {
            rt::ScopedNumberLocale dot(QLatin1Char('.'));
            expectTable(f,
                        {{'.', '.'},
                         {',', 0},
                         {'e', 'E'},
                         {'E', 'E'},
                         {'+', '+'},
                         {'-', '-'},
                         {'0', '0'},
                         {'9', '9'},
                         {8, 8},
                         {13, 13},
                         {32, 32},
                         {0, 0},
                         {'a', 0},
                         {'f', 0},
                         {'/', 0},
                         {':', 0},
                         {127, 0},
                         {0xB5, 0}},
                        "numeric dot");
        }
    }
}

TEST(TextUtilKeyFilters, Tables)
{
    expectTable(
        &KeyFilterSignedInt,
        {{'+', '+'}, {'-', '-'}, {'5', '5'}, {8, 8}, {32, 32}, {'.', 0}, {'e', 0}, {'E', 0}, {'A', 0}},
        "signed int");
    expectTable(&KeyFilterNoSign, {{'+', 0}, {'-', 0}, {'a', 'a'}, {'5', '5'}, {' ', ' '}, {8, 8}},
                "no sign");
    expectTable(&KeyFilterNoSpace, {{' ', 0}, {'x', 'x'}, {8, 8}, {'-', '-'}, {9, 9}}, "no space");
    expectTable(&KeyFilterHex,
                {{'b', 'B'},
                 {'a', 'A'},
                 {'f', 'F'},
                 {'g', 0},
                 {'G', 0},
                 {'F', 'F'},
                 {'0', '0'},
                 {'9', '9'},
                 {8, 8},
                 {32, 32},
                 {'-', 0},
                 {'x', 0}},
                "hex");
    expectTable(&KeyFilterBinary, {{'0', '0'}, {'1', '1'}, {'2', 0}, {8, 8}, {32, 32}, {'a', 0}, {'-', 0}},
                "binary");
}

TEST(TextUtilKeyFilters, PrintableKeys)
{
    EXPECT_FALSE(IsPrintableKey(8));
    EXPECT_FALSE(IsPrintableKey(127));
    EXPECT_FALSE(IsPrintableKey(31));
    EXPECT_TRUE(IsPrintableKey(32));
    EXPECT_TRUE(IsPrintableKey(126));
    EXPECT_TRUE(IsPrintableKey('A'));
}

TEST(TextUtilDecimalSep, BothLocales)
{
    {
        rt::ScopedNumberLocale comma(QLatin1Char(','));
        EXPECT_EQ(TextDecimalSep(), ",");
        EXPECT_EQ(TextDecimalSepCode(), ',');
    }
    rt::ScopedNumberLocale dot(QLatin1Char('.'));
    EXPECT_EQ(TextDecimalSep(), ".");
    EXPECT_EQ(TextDecimalSepCode(), '.');
}

class BoxForm : public ui::Form {
public:
    BoxForm() : Form(QStringLiteral("frmTextUtilTest")) {}
    ui::TextBox txtValue{this, "txtValue"};
    ui::TextBox txtNotes{this, "txtNotes", -1, true};
};

TEST(TextUtilSelectAllText, SelectsTheWholeText)
{
    BoxForm form;
    form.Show();
    form.txtValue.setText("12.5");
    form.txtValue.setSelStart(2);
    SelectAllText(form.txtValue);
    EXPECT_EQ(form.txtValue.SelStart(), 0);
    EXPECT_EQ(form.txtValue.SelLength(), 4);
    EXPECT_EQ(form.txtValue.SelText(), "12.5");

    form.txtNotes.setText("a\r\nb");
    SelectAllText(form.txtNotes);
    EXPECT_EQ(form.txtNotes.SelText(), "a\r\nb");
    form.Unload();
}

} // namespace
