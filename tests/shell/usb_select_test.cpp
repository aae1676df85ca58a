// The board selection dialog: its rows, the OK rule, selection and its failure, Refresh List, Cancel.

#include "startup_fixture.h"

#include <functional>

#include "platform/ui/forms.h"
#include "platform/ui/test_doubles.h"
#include "platform/usb/emulated_board.h"
#include "shell/frm_usb_select.h"
#include "shell/mdi_main.h"
#include "shell/startup.h"

using namespace shelltest;

namespace {

class BoardSelection : public ShellTest {
protected:
    BoardSelection() { RegisterShellWindows(); }

    usb::BoardOptions firmware(int minor, uint32_t hostId = 0)
    {
        usb::BoardOptions options;
        options.firmwareMinor = static_cast<uint8_t>(minor);
        options.hostId = hostId;
        return options;
    }
    // Enumerates the attached boards, as start-up or Refresh List does before the dialog lists them.
    void enumerate() { goEZUSB().GetDevices(); }
    QStringList hostIdColumn(frmUSBSelect& dialog)
    {
        QStringList column;
        for (int i = 1; i <= dialog.lvuUSBDevices.ItemCount(); ++i)
            column << dialog.lvuUSBDevices.item(i)->SubItems(2);
        return column;
    }
};

TEST_F(BoardSelection, HostIdentifierStates)
{
    mainWindow();
    plug(0, firmware(2));              // firmware 0.2 keeps no host identifier
    plug(1, firmware(3));              // free
    plug(2, firmware(3, ourHostId())); // claimed by this copy
    plug(3, firmware(4, 123456));      // claimed by another copy
    plug(4, firmware(3));              // its identifier cannot be read
    enumerate();
    drv.failTransfer(4, 0, 3); // the host-identifier command, after the two version commands
    frmUSBSelect& dialog = ui::form<frmUSBSelect>();
    EXPECT_EQ(hostIdColumn(dialog), (QStringList{"NA", "Unused", "Using", "123456", "ENA"}));
    // The claim "Using" is the main window's own handle: looked up, it is that window.
    EXPECT_EQ(ui::Forms::fromHwnd(ourHostId()), &mainWindow());
    const ui::ListItem* row = dialog.lvuUSBDevices.item(4);
    EXPECT_EQ(row->Key(), QStringLiteral("EZUSB-3"));
    EXPECT_EQ(row->Text(), QStringLiteral("Ezssp-3"));
    EXPECT_EQ(row->SubItems(1), QStringLiteral("0.4"));
    EXPECT_EQ(row->SubItemKey(1), QStringLiteral("FirmwareRev3"));
    EXPECT_EQ(row->SubItemKey(2), QStringLiteral("HostID3"));
}

TEST_F(BoardSelection, OkNeedsAHighlightedRow)
{
    plug(0);
    plug(1);
    enumerate();
    frmUSBSelect& dialog = ui::form<frmUSBSelect>();
    EXPECT_EQ(dialog.lvuUSBDevices.SelectedItem(), nullptr) << "no board selected yet";
    EXPECT_FALSE(dialog.cmdOK.Enabled());
    dialog.lvuUSBDevices.Click(); // a click beside the rows
    EXPECT_FALSE(dialog.cmdOK.Enabled());
    dialog.lstUSBDevices.Click();
    EXPECT_FALSE(dialog.cmdOK.Enabled());
    dialog.cmdOK_Click(); // even when reached another way, OK without a row does nothing
    EXPECT_TRUE(goEZUSB().DriverName().isEmpty());
    EXPECT_EQ(drv.transfers(0, 0).size() + drv.transfers(1, 0).size(), 6) << "only the listing's reads";
    clickRow(dialog, 2);
    EXPECT_TRUE(dialog.cmdOK.Enabled());
}

TEST_F(BoardSelection, TheSelectedBoardIsHighlightedAndOkSelectsAnother)
{
    plug(0);
    plug(1, firmware(3, 999));
    enumerate();
    goEZUSB().SelectDevice(0, static_cast<int32_t>(ourHostId()));
    ui::testing::onModal<frmUSBSelect>([](frmUSBSelect& dialog) {
        EXPECT_EQ(dialog.lvuUSBDevices.SelectedItem(), dialog.lvuUSBDevices.item(1));
        EXPECT_TRUE(dialog.cmdOK.Enabled());
        clickRow(dialog, 2);
        dialog.cmdOK.click();
    });
    const QString chosen = ui::form<frmUSBSelect>().ShowDialog(QStringLiteral("Select Evaluation Board"),
                                                               QStringLiteral("prompt"));
    EXPECT_EQ(chosen, QStringLiteral("Ezssp-1"));
    EXPECT_EQ(drv.board(1)->hostId(), ourHostId()) << "the other copy's claim passes to this one";
    EXPECT_EQ(drv.board(0)->hostId(), 0u) << "the previous board is given back";
    EXPECT_FALSE(ui::Forms::isLoaded(frmUSBSelect::FormName));
}

TEST_F(BoardSelection, CancelKeepsTheCurrentBoard)
{
    plug(0);
    enumerate();
    goEZUSB().SelectDevice(0, static_cast<int32_t>(ourHostId()));
    ui::testing::onModal<frmUSBSelect>([](frmUSBSelect& dialog) { dialog.cmdCancel.click(); });
    EXPECT_EQ(ui::form<frmUSBSelect>().ShowDialog(QStringLiteral("t"), QStringLiteral("p")), QString());
    EXPECT_EQ(goEZUSB().DriverName(), QStringLiteral("Ezssp-0"));
}

TEST_F(BoardSelection, CloseBoxAnswersTheSelectedBoard)
{
    plug(0);
    enumerate();
    goEZUSB().SelectDevice(0, static_cast<int32_t>(ourHostId()));
    ui::testing::onModal<frmUSBSelect>([](frmUSBSelect& dialog) { dialog.Unload(ui::vbFormControlMenu); });
    EXPECT_EQ(ui::form<frmUSBSelect>().ShowDialog(QStringLiteral("t"), QStringLiteral("p")),
              QStringLiteral("Ezssp-0"));
}

TEST_F(BoardSelection, FailedSelectionSaysSoAndStaysOpen)
{
    plug(0);
    plug(1);
    enumerate();
    frmUSBSelect& dialog = ui::form<frmUSBSelect>();
    clickRow(dialog, 1);
    drv.detach(0);
    dialog.Show();
    ui::testing::messageBoxes().answer(ui::vbOK);
    dialog.cmdOK.click();
    ASSERT_EQ(ui::testing::messageBoxes().shown.size(), 1u);
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].prompt,
              QStringLiteral("Error: Selecting device\r\n\r\nTry the clicking the Refresh button and "
                             "reselecting\r\nthe evaluation board."));
    EXPECT_EQ(ui::testing::messageBoxes().shown[0].buttons, ui::vbOKOnly);
    EXPECT_TRUE(dialog.Visible());
}

TEST_F(BoardSelection, AClaimTheBoardDidNotTakeWholeFailsTheSelection)
{
    struct ClaimFault {
        const char* name;
        std::function<void(usb::EmulatedDriver&)> arm;
        uint32_t hostIdAfter; // what the board keeps
    };
    // The claim is the second command to the chosen board, after its version.
    const ClaimFault faults[] = {
        {"cut short", [](usb::EmulatedDriver& d) { d.shortWrite(1, 0, 2, 3); }, 0},
        {"empty", [](usb::EmulatedDriver& d) { d.shortWrite(1, 0, 2, 0); }, 0},
        {"counted beyond", [](usb::EmulatedDriver& d) { d.overCount(1, 0, 2, 4); }, ourHostId()},
    };
    plug(0);
    for (const ClaimFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        plug(1);
        enumerate();
        frmUSBSelect& dialog = ui::form<frmUSBSelect>();
        clickRow(dialog, 2);
        dialog.Show();
        fault.arm(drv);
        const size_t before = ui::testing::messageBoxes().shown.size();
        ui::testing::messageBoxes().answer(ui::vbOK);
        dialog.cmdOK.click();
        ASSERT_EQ(ui::testing::messageBoxes().shown.size(), before + 1);
        EXPECT_TRUE(ui::testing::messageBoxes().shown.back().prompt.startsWith(
            QStringLiteral("Error: Selecting device")));
        EXPECT_TRUE(dialog.Visible()) << "the user may try again";
        EXPECT_EQ(drv.board(1)->hostId(), fault.hostIdAfter);
        dialog.Unload();
        drv.clearFaults();
    }
}

TEST_F(BoardSelection, RefreshListEnumeratesAgain)
{
    plug(0);
    enumerate();
    frmUSBSelect& dialog = ui::form<frmUSBSelect>();
    ASSERT_EQ(dialog.lvuUSBDevices.ItemCount(), 1);
    clickRow(dialog, 1);
    plug(2);
    dialog.cmdRefresh.click();
    EXPECT_EQ(dialog.lvuUSBDevices.ItemCount(), 2);
    EXPECT_EQ(dialog.lvuUSBDevices.item(2)->Text(), QStringLiteral("Ezssp-2"));
    EXPECT_FALSE(dialog.cmdOK.Enabled()) << "no board is selected yet";
    EXPECT_EQ(dialog.lvuUSBDevices.SelectedItem(), nullptr);
}

TEST_F(BoardSelection, ClickOnAClaimedRowWaitsForTheFlash)
{
    plug(0, firmware(3, 31337));
    plug(1);
    enumerate();
    frmUSBSelect& dialog = ui::form<frmUSBSelect>();
    const int64_t before = ui::testing::clock().now();
    clickRow(dialog, 2); // "Unused": nothing to show
    EXPECT_EQ(ui::testing::clock().now(), before);
    clickRow(dialog, 1);
    EXPECT_GE(ui::testing::clock().now() - before, 1100);
    EXPECT_TRUE(dialog.cmdOK.Enabled());
}

} // namespace
