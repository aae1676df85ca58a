// The edit dialogs keep the box the user clicked: leaving one view for another with the mouse runs the
// entry of the view left and puts the caret, with the whole text selected, into the box clicked, so the
// digits typed next land there; Enter in a view still moves the focus to OK.

#include "edit_dialog_support.h"

#include "platform/runtime/locale_info.h"
#include "profiles/frm_edit_osf.h"
#include "profiles/frm_edit_out_freq.h"
#include "profiles/frm_edit_phase_offset1.h"
#include "profiles/frm_edit_ram_addr_rr.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

using edit_dialog_test::retype;

// What a dialog case needs: how to open it on the caller's box, and its value view, a word view to click
// into with what to type there and what that word shows in the value view, and OK.
struct DialogCase {
    const char* name;
    std::function<void(ui::TextBox&, std::function<void(ui::Form&)>)> open;
    const char* valueView;
    const char* typedValue;
    const char* wordView;
    const char* typedWord;
    const char* ok;
};

ui::TextBox& boxNamed(ui::Form& form, const char* name)
{
    auto* box = dynamic_cast<ui::TextBox*>(form.control(QString::fromLatin1(name)));
    EXPECT_NE(box, nullptr) << name;
    return *box;
}

ui::CommandButton& buttonNamed(ui::Form& form, const char* name)
{
    auto* button = dynamic_cast<ui::CommandButton*>(form.control(QString::fromLatin1(name)));
    EXPECT_NE(button, nullptr) << name;
    return *button;
}

template <typename Dialog, typename Show>
std::function<void(ui::TextBox&, std::function<void(ui::Form&)>)> opener(Show show)
{
    return [show](ui::TextBox& box, const std::function<void(ui::Form&)>& answer) {
        edit_dialog_test::answerDialog<Dialog>([answer](Dialog& d) { answer(d); });
        show(ui::form<Dialog>(), box);
    };
}

const DialogCase kDialogs[] = {
    {"output frequency", opener<frmEditOutFreq>([](frmEditOutFreq& d, ui::TextBox& box) {
         d.ShowEditDialog(box, QStringLiteral("Edit output frequency"), profiles::EditValue(1000.0), 32);
     }),
     "txtOutputFreqVal", "100", "txtTWDec", "600", "OKButton"},
    {"phase offset", opener<frmEditPhaseOffset1>([](frmEditPhaseOffset1& d, ui::TextBox& box) {
         d.ShowEditDialog(box, profiles::EditValue(1000.0));
     }),
     "txtSearchPhaseOff", "90", "txtDecVal", "600", "cmdOK"},
    {"output scale factor",
     opener<frmEditOSF>([](frmEditOSF& d, ui::TextBox& box) { d.ShowEditDialog(box); }), "txtValue", "1",
     "txtDecVal", "600", "cmdOK"},
    {"ramp rate", opener<frmEditRAMAddrRR>([](frmEditRAMAddrRR& d, ui::TextBox& box) {
         d.ShowEditDialog(box, QStringLiteral("Edit RAM Address Ramp Rate"), QStringLiteral("1000"));
     }),
     "txtRampRateTime", "1", "txtDec", "600", "OKButton"},
};

class EditDialogFocus : public edit_dialog_test::CallerTest {
protected:
    rt::ScopedNumberLocale locale{QChar(u'.')};
};

TEST_F(EditDialogFocus, AClickIntoAnotherViewPutsTheCaretThereAndEnterStillGoesToOk)
{
    for (const DialogCase& c : kDialogs) {
        SCOPED_TRACE(c.name);
        field.Tag = QStringLiteral("0");
        field.setText(QString());
        c.open(field, [&c](ui::Form& d) {
            ui::TextBox& value = boxNamed(d, c.valueView);
            ui::TextBox& word = boxNamed(d, c.wordView);
            ui::CommandButton& ok = buttonNamed(d, c.ok);
            retype(value, QString::fromLatin1(c.typedValue));
            const QString wordBefore = word.Text();
            QTest::mouseClick(word.widget(), Qt::LeftButton);
            EXPECT_NE(word.Text(), wordBefore) << "leaving the value view ran its entry";
            EXPECT_TRUE(word.hasFocus()) << "the clicked box keeps the focus, not OK";
            EXPECT_EQ(word.SelLength(), word.Text().size()) << "its whole text selected";
            QTest::keyClicks(word.widget(), QString::fromLatin1(c.typedWord));
            EXPECT_EQ(word.Text(), QString::fromLatin1(c.typedWord)) << "the digits land in the clicked box";
            // Back into the value view with the mouse: the word's entry runs, the caret goes there.
            QTest::mouseClick(value.widget(), Qt::LeftButton);
            EXPECT_TRUE(value.hasFocus());
            EXPECT_EQ(value.SelLength(), value.Text().size());
            QTest::keyClicks(value.widget(), QString::fromLatin1(c.typedValue));
            EXPECT_EQ(value.Text(), QString::fromLatin1(c.typedValue));
            QTest::keyClick(value.widget(), Qt::Key_Return);
            EXPECT_TRUE(ok.hasFocus()) << "Enter's way to OK";
            ok.click();
        });
        EXPECT_NE(field.Tag.toDouble(), 0.0) << "OK took the value typed last: " << field.Tag.toStdString();
    }
}

} // namespace
