#include "controls_test_support.h"

#include "platform/ui/controls_list.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

using controls_test::HostForm;
using controls_test::showActive;

namespace {

void fill(ui::ListBox& list)
{
    for (const char* text : {"Quadrature Modulation", "Single Tone", "Interpolating DAC"})
        list.AddItem(QString::fromLatin1(text));
}

void fill(ui::ComboBox& combo)
{
    for (const char* text : {"÷1", "÷2", "÷4", "÷8"})
        combo.AddItem(QString::fromUtf8(text));
}

TEST(ListBox, AddItemKeepsNoSelectionAndFiresNothing)
{
    HostForm form;
    ui::ListBox lst(&form, QStringLiteral("lstOppMode"));
    int clicks = 0;
    lst.Click = [&] { ++clicks; };
    fill(lst);
    EXPECT_EQ(lst.ListCount(), 3);
    EXPECT_EQ(lst.ListIndex(), -1);
    EXPECT_EQ(lst.Text(), QString());
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(lst.List(1), QStringLiteral("Single Tone"));
    EXPECT_EQ(lst.List(7), QString());
}

TEST(ListBox, SettingListIndexFiresClickEachTime)
{
    HostForm form;
    ui::ListBox lst(&form, QStringLiteral("lstOppMode"));
    fill(lst);
    std::vector<int> seen;
    lst.Click = [&] { seen.push_back(lst.ListIndex()); };
    lst.setListIndex(2);
    lst.setListIndex(2);
    lst.setListIndex(-1);
    lst.setListIndex(3); // out of range: ignored
    EXPECT_EQ(seen, (std::vector<int>{2, 2, -1}));
    EXPECT_EQ(static_cast<QListWidget*>(lst.widget())->currentRow(), -1);
}

TEST(ListBox, UserSelectionFiresClickOnce)
{
    HostForm form;
    ui::ListBox lst(&form, QStringLiteral("lstOppMode"));
    fill(lst);
    showActive(form);
    auto* widget = static_cast<QListWidget*>(lst.widget());
    std::vector<int> seen;
    lst.Click = [&] { seen.push_back(lst.ListIndex()); };
    const QRect row = widget->visualItemRect(widget->item(1));
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier, row.center()); // same row again
    QTest::keyClick(widget, Qt::Key_Down);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    EXPECT_EQ(lst.Text(), QStringLiteral("Interpolating DAC"));
}

TEST(ListBox, TakingTheFocusSelectsNothing)
{
    HostForm form;
    ui::ListBox lst(&form, QStringLiteral("lsbInputSel"));
    fill(lst);
    showActive(form);
    int clicks = 0;
    lst.Click = [&] { ++clicks; };
    lst.widget()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(lst.ListIndex(), -1);
    QTest::keyClick(lst.widget(), Qt::Key_Down);
    EXPECT_EQ(clicks, 1) << "a key that moves the selection is the user's choice";
    EXPECT_GE(lst.ListIndex(), 0);
}

TEST(ListBox, InsertAndRemoveKeepTheSelectedItem)
{
    HostForm form;
    ui::ListBox lst(&form, QStringLiteral("lstDevices"));
    fill(lst);
    lst.setListIndex(1);
    lst.setItemData(1, 77);
    int clicks = 0;
    lst.Click = [&] { ++clicks; };
    lst.AddItem(QStringLiteral("first"), 0);
    EXPECT_EQ(lst.ListIndex(), 2);
    EXPECT_EQ(lst.Text(), QStringLiteral("Single Tone"));
    EXPECT_EQ(lst.ItemData(2), 77);
    lst.RemoveItem(0);
    EXPECT_EQ(lst.ListIndex(), 1);
    lst.RemoveItem(1);
    EXPECT_EQ(lst.ListIndex(), -1);
    lst.Clear();
    EXPECT_EQ(lst.ListCount(), 0);
    EXPECT_EQ(clicks, 0);
}

TEST(ComboBox, DropDownListStartsEmptyAndFollowsListIndex)
{
    HostForm form;
    ui::ComboBox cmb(&form, QStringLiteral("cmbIOUpdateClkDiv"), -1, ui::vbComboDropdownList);
    int clicks = 0;
    cmb.Click = [&] { ++clicks; };
    fill(cmb);
    EXPECT_EQ(cmb.ListIndex(), -1);
    EXPECT_EQ(static_cast<QComboBox*>(cmb.widget())->currentIndex(), -1);
    EXPECT_EQ(clicks, 0);
    cmb.setListIndex(3);
    EXPECT_EQ(cmb.Text(), QString::fromUtf8("÷8"));
    cmb.setText(QString::fromUtf8("÷2")); // selects the item with that text
    EXPECT_EQ(cmb.ListIndex(), 1);
    cmb.setText(QStringLiteral("nothing like it"));
    EXPECT_EQ(cmb.ListIndex(), 1);
    EXPECT_EQ(clicks, 2);
}

TEST(ComboBox, UserKeyStepsFireClickOncePerChange)
{
    HostForm form;
    ui::ComboBox cmb(&form, QStringLiteral("cmbDRV0"), -1, ui::vbComboDropdownList);
    fill(cmb);
    cmb.setListIndex(0);
    showActive(form);
    std::vector<int> seen;
    cmb.Click = [&] { seen.push_back(cmb.ListIndex()); };
    QTest::keyClick(cmb.widget(), Qt::Key_Down);
    QTest::keyClick(cmb.widget(), Qt::Key_Down);
    QTest::keyClick(cmb.widget(), Qt::Key_Up);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 1}));
}

TEST(ComboBox, EditableComboChangeAndClickRules)
{
    HostForm form;
    ui::ComboBox cmb(&form, QStringLiteral("cmbValue"));
    fill(cmb);
    showActive(form);
    int changes = 0;
    int clicks = 0;
    cmb.Change = [&] { ++changes; };
    cmb.Click = [&] { ++clicks; };

    cmb.setText(QStringLiteral("7"));
    cmb.setText(QStringLiteral("7"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(static_cast<QComboBox*>(cmb.widget())->lineEdit()->text(), QStringLiteral("7"));

    cmb.setListIndex(2); // choosing an item: Click only
    EXPECT_EQ(cmb.Text(), QString::fromUtf8("÷4"));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);

    QTest::keyClick(static_cast<QComboBox*>(cmb.widget())->lineEdit(), Qt::Key_0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(cmb.Text(), QString::fromUtf8("÷40"));
    EXPECT_EQ(cmb.ListIndex(), -1) << "typed text is no longer the selected item";

    // Choosing the item Qt still holds as current counts as a new choice.
    emit static_cast<QComboBox*>(cmb.widget())->activated(2);
    EXPECT_EQ(cmb.ListIndex(), 2);
    EXPECT_EQ(cmb.Text(), QString::fromUtf8("÷4"));
    EXPECT_EQ(clicks, 2);
}

TEST(ComboBox, KeyPressDropsKeysInTheEditField)
{
    HostForm form;
    ui::ComboBox cmb(&form, QStringLiteral("cmbHex"));
    showActive(form);
    cmb.KeyPress = [](int& key) {
        if (key >= 'a' && key <= 'f')
            key -= 32; // upper case
        else if (!(key >= '0' && key <= '9') && !(key >= 'A' && key <= 'F'))
            key = 0;
    };
    std::vector<int> down;
    cmb.KeyDown = [&](int& code, int) { down.push_back(code); };
    QLineEdit* edit = static_cast<QComboBox*>(cmb.widget())->lineEdit();
    QTest::keyClicks(edit, QStringLiteral("1fz9"));
    EXPECT_EQ(cmb.Text(), QStringLiteral("1F9"));
    QTest::keyClick(edit, Qt::Key_PageUp); // a key the field passes on to the combo: still one KeyDown
    EXPECT_EQ(down, (std::vector<int>{49, 70, 90, 57, 33}));
}

} // namespace
