#include "controls_test_support.h"

#include "platform/ui/controls_listview.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

using controls_test::EventLog;
using controls_test::HostForm;
using controls_test::showActive;

namespace {

// The board list of the selection dialog: three columns, one row per board.
struct BoardList {
    HostForm form;
    ui::ListView lvu{&form, QStringLiteral("lvuUSBDevices")};
    EventLog log;

    BoardList()
    {
        lvu.addColumn(QStringLiteral("Device"));
        lvu.addColumn(QStringLiteral("Firmware Rev."), 80);
        lvu.addColumn(QStringLiteral(" HostID "));
        lvu.setFullRowSelect(true);
        for (int i = 0; i < 3; ++i) {
            ui::ListItem* row =
                lvu.addItem(QStringLiteral("EZUSB-%1").arg(i), QStringLiteral("Ezssp-%1").arg(i));
            row->setSubItem(1, QStringLiteral("0.%1").arg(i + 2), QStringLiteral("FirmwareRev%1").arg(i));
            row->setSubItem(2, i == 0 ? QStringLiteral("NA") : QStringLiteral("Unused"),
                            QStringLiteral("HostID%1").arg(i));
        }
        lvu.ItemClick = [this](ui::ListItem* row) {
            log.add(QStringLiteral("ItemClick(%1)").arg(row->Index()));
        };
        lvu.Click = [this] { log.add(QStringLiteral("Click")); };
        lvu.DblClick = [this] { log.add(QStringLiteral("DblClick")); };
    }

    QTreeWidget* tree() const { return static_cast<QTreeWidget*>(lvu.widget()); }
    QPoint rowCentre(int index) const
    {
        return tree()->visualItemRect(tree()->topLevelItem(index - 1)).center();
    }
};

TEST(ListView, RowsKeepKeysTextsAndSubItems)
{
    BoardList list;
    EXPECT_EQ(list.lvu.ColumnCount(), 3);
    EXPECT_EQ(list.lvu.ColumnText(2), QStringLiteral("Firmware Rev."));
    EXPECT_EQ(list.lvu.ColumnWidth(2), 80);
    EXPECT_EQ(list.lvu.ItemCount(), 3);
    ui::ListItem* second = list.lvu.find(QStringLiteral("EZUSB-1"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Index(), 2);
    EXPECT_EQ(second->Text(), QStringLiteral("Ezssp-1"));
    EXPECT_EQ(second->SubItems(1), QStringLiteral("0.3"));
    EXPECT_EQ(second->SubItemKey(2), QStringLiteral("HostID1"));
    EXPECT_EQ(second->SubItems(5), QString());
    EXPECT_EQ(list.tree()->topLevelItem(1)->text(2), QStringLiteral("Unused"));
    EXPECT_EQ(list.lvu.addItem(QStringLiteral("EZUSB-1"), QStringLiteral("twice")), nullptr)
        << "keys are unique";
    EXPECT_EQ(list.lvu.ItemCount(), 3);
}

TEST(ListView, SelectionInCodeFiresNothingAndMayBeNone)
{
    BoardList list;
    EXPECT_EQ(list.lvu.SelectedItem(), nullptr);
    list.lvu.item(3)->setSelected(true);
    EXPECT_EQ(list.lvu.SelectedItem(), list.lvu.item(3));
    EXPECT_EQ(list.tree()->currentItem(), list.tree()->topLevelItem(2));
    list.lvu.setSelectedItem(nullptr);
    EXPECT_EQ(list.lvu.SelectedItem(), nullptr);
    EXPECT_TRUE(list.tree()->selectedItems().isEmpty());
    EXPECT_TRUE(list.log.entries.isEmpty());
}

TEST(ListView, UserClickOnARowFiresItemClickThenClickOnce)
{
    BoardList list;
    showActive(list.form);
    QTest::mouseClick(list.tree()->viewport(), Qt::LeftButton, Qt::NoModifier, list.rowCentre(2));
    EXPECT_EQ(list.log.joined(), QStringLiteral("ItemClick(2) Click"));
    EXPECT_EQ(list.lvu.SelectedItem(), list.lvu.item(2));
}

TEST(ListView, ClickBesideTheRowsFiresClickAlone)
{
    BoardList list;
    showActive(list.form);
    list.tree()->resize(300, 300);
    const QPoint below = list.rowCentre(3) + QPoint(0, 100);
    QTest::mouseClick(list.tree()->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    EXPECT_EQ(list.log.joined(), QStringLiteral("Click"));
}

TEST(ListView, KeyboardMovesReportTheRowAndDoubleClickReportsItself)
{
    BoardList list;
    showActive(list.form);
    list.lvu.item(1)->setSelected(true);
    list.lvu.SetFocus();
    QTest::keyClick(list.tree(), Qt::Key_Down);
    EXPECT_EQ(list.log.joined(), QStringLiteral("ItemClick(2)"));
    QTest::mouseDClick(list.tree()->viewport(), Qt::LeftButton, Qt::NoModifier, list.rowCentre(2));
    EXPECT_TRUE(list.log.entries.contains(QStringLiteral("DblClick")));
}

TEST(ListView, ClearAndRemoveDropTheSelection)
{
    BoardList list;
    list.lvu.item(2)->setSelected(true);
    list.lvu.removeItem(2);
    EXPECT_EQ(list.lvu.SelectedItem(), nullptr);
    EXPECT_EQ(list.lvu.item(2)->Key(), QStringLiteral("EZUSB-2"));
    list.lvu.item(1)->setSelected(true);
    list.lvu.Clear();
    EXPECT_EQ(list.lvu.ItemCount(), 0);
    EXPECT_EQ(list.lvu.SelectedItem(), nullptr);
    EXPECT_EQ(list.tree()->topLevelItemCount(), 0);
    EXPECT_EQ(list.lvu.ColumnCount(), 3) << "clearing the rows keeps the columns";
}

} // namespace
