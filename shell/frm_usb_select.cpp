#include "shell/frm_usb_select.h"

#include "board/cls_ezusb.h"
#include "board/cls_ezusb_version.h"
#include "board/utility.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "shell/mdi_main.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr double kFirstVersionWithHostID = 0.3;
// Pixels for the classic 350 twips of room beside a header text and the 90 twips of the list's border.
constexpr int kHeaderRoom = 23;
constexpr int kListBorder = 6;
constexpr int kListWidth = 380;

// This running copy's host identifier: the main window's handle.
uint32_t thisCopysHostID()
{
    return ui::form<mdiMain>().hWnd();
}

bool isNumber(const QString& text)
{
    bool ok = false;
    text.toLongLong(&ok);
    return ok;
}

} // namespace

frmUSBSelect::frmUSBSelect() : Form(FormName)
{
    setCaption(QStringLiteral("Select USB Device"));
    fraUSBList.setCaption(QStringLiteral("USB Devices Detected"));
    lblUSBDeviceName.setCaption(QStringLiteral("Device Name"));
    cmdCancel.setCaption(QStringLiteral("&Cancel"));
    cmdCancel.setCancel(true);
    cmdCancel.setCausesValidation(false);
    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.setDefault(true);
    cmdOK.setEnabled(false);
    cmdRefresh.setCaption(QStringLiteral("Refresh List"));
    lvuUSBDevices.setFullRowSelect(true);
    lvuUSBDevices.addColumn(QStringLiteral("Device"));
    lvuUSBDevices.addColumn(QStringLiteral("Firmware Rev."));
    lvuUSBDevices.addColumn(QStringLiteral(" HostID "));
    lblAutoSize.setCaption(QStringLiteral("Label1"));
    lblAutoSize.setAutoSize(true);
    lblAutoSize.setVisible(false);
    // The older device list stays on the window for its Click but is no longer shown.
    lstUSBDevices.setVisible(false);
    lblUSBDeviceName.setVisible(false);
    lblMessage.setCaption(QStringLiteral("Select the evaluation board to use."));
    lblMessage.setWordWrap(true);

    tmrRefresh.Timer = [this] { tmrRefresh_Timer(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdRefresh.Click = [this] { cmdRefresh_Click(); };
    lstUSBDevices.Click = [this] { lstUSBDevices_Click(); };
    lvuUSBDevices.ItemClick = [this](ui::ListItem* item) { lvuUSBDevices_ItemClick(item); };
    lvuUSBDevices.Click = [this] { updateOK(); };
}

void frmUSBSelect::buildUi(QWidget* window)
{
    imgIcon.setPicture(QApplication::style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(32, 32));

    auto* inner = new QVBoxLayout(fraUSBList.container());
    inner->addWidget(lblUSBDeviceName.widget());
    inner->addWidget(lstUSBDevices.widget());
    lvuUSBDevices.widget()->setMinimumWidth(kListWidth);
    inner->addWidget(lvuUSBDevices.widget(), 1);

    auto* top = new QHBoxLayout;
    top->addWidget(imgIcon.widget(), 0, Qt::AlignTop);
    top->addWidget(lblMessage.widget(), 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdRefresh.widget());
    buttons->addStretch(1);
    buttons->addWidget(cmdOK.widget());
    buttons->addWidget(cmdCancel.widget());

    auto* column = new QVBoxLayout(window);
    column->addLayout(top);
    column->addWidget(fraUSBList.widget(), 1);
    column->addLayout(buttons);
    column->addWidget(lblAutoSize.widget());
}

void frmUSBSelect::Form_Load()
{
    cancelled_ = false;
    sizeColumns();
    RefreshDeviceList();
}

void frmUSBSelect::sizeColumns()
{
    // Each column as wide as its header text with some room; the device column takes what is left.
    lblAutoSize.setFont(lvuUSBDevices.Font());
    for (int column = 1; column <= lvuUSBDevices.ColumnCount(); ++column) {
        lblAutoSize.setCaption(lvuUSBDevices.ColumnText(column));
        const int textWidth = QFontMetrics(lvuUSBDevices.Font()).horizontalAdvance(lblAutoSize.Caption());
        lvuUSBDevices.setColumnWidth(column, textWidth + kHeaderRoom);
    }
    const int rest = kListWidth - (lvuUSBDevices.ColumnWidth(2) + lvuUSBDevices.ColumnWidth(3) + kListBorder);
    lvuUSBDevices.setColumnWidth(1, std::max(rest, lvuUSBDevices.ColumnWidth(1)));
}

QString frmUSBSelect::ShowDialog(const QString& title, const QString& prompt)
{
    Load();
    setCaption(title);
    lblMessage.setCaption(prompt);
    Show(1);
    QString result = cancelled_ ? QString() : goEZUSB().DriverName();
    Unload();
    return result;
}

QString frmUSBSelect::hostIdState(int16_t index, uint32_t thisCopy)
{
    clsEZUSB& usb = goEZUSB();
    const std::optional<double> version =
        ezusbVersionNumber(usb.GetFirmWareVersion(index), ezusbDecimalSeparator());
    if (version.value_or(0.0) < kFirstVersionWithHostID)
        return QStringLiteral("NA");
    int32_t hostId = 0;
    if (usb.GetHostID(index, hostId) != 1)
        return QStringLiteral("ENA");
    if (hostId == 0)
        return QStringLiteral("Unused");
    if (hostId == static_cast<int32_t>(thisCopy))
        return QStringLiteral("Using");
    return QString::number(hostId);
}

void frmUSBSelect::RefreshDeviceList()
{
    clsEZUSB& usb = goEZUSB();
    const uint32_t thisCopy = thisCopysHostID();
    lvuUSBDevices.Clear();
    for (int16_t i = 0; i < usb.DeviceCount(); ++i) {
        const QString number = QString::number(i);
        const QString name = usb.GetDriverName(i);
        ui::ListItem* row = lvuUSBDevices.addItem(QStringLiteral("EZUSB-") + number, name);
        if (row == nullptr)
            continue;
        row->setSubItem(1, usb.GetFirmWareVersion(i), QStringLiteral("FirmwareRev") + number);
        row->setSubItem(2, hostIdState(i, thisCopy), QStringLiteral("HostID") + number);
        if (name == usb.DriverName()) {
            lvuUSBDevices.setSelectedItem(row);
            cmdOK.setEnabled(true);
        }
    }
}

void frmUSBSelect::updateOK()
{
    cmdOK.setEnabled(lvuUSBDevices.SelectedItem() != nullptr);
}

void frmUSBSelect::cmdRefresh_Click()
{
    lstUSBDevices.Clear();
    lvuUSBDevices.Clear();
    cmdOK.setEnabled(false);
    goEZUSB().GetDevices();
    RefreshDeviceList();
}

void frmUSBSelect::tmrRefresh_Timer()
{
    cmdRefresh_Click();
}

void frmUSBSelect::lstUSBDevices_Click()
{
    updateOK();
}

void frmUSBSelect::lvuUSBDevices_ItemClick(ui::ListItem* item)
{
    updateOK();
    if (item == nullptr)
        return;
    const QString hostId = item->SubItems(2);
    if (!isNumber(hostId))
        return;
    // Draw the user's eye to the copy that claimed the board, where its window can be reached from here;
    // the main window of another process cannot be flashed from this one.
    if (ui::Form* other = ui::Forms::fromHwnd(static_cast<uint32_t>(hostId.toLongLong())))
        other->Flash();
    Delay(1.1);
}

void frmUSBSelect::cmdOK_Click()
{
    ui::ListItem* row = lvuUSBDevices.SelectedItem();
    if (row == nullptr) {
        cmdOK.setEnabled(false);
        return;
    }
    const auto index = static_cast<int16_t>(row->Index() - 1);
    if (goEZUSB().SelectDevice(index, static_cast<int32_t>(thisCopysHostID())) == 1) {
        Hide();
        return;
    }
    ui::MsgBox(QStringLiteral("Error: Selecting device\r\n\r\nTry the clicking the Refresh button and "
                              "reselecting\r\nthe evaluation board."),
               ui::vbOKOnly);
}

void frmUSBSelect::cmdCancel_Click()
{
    cancelled_ = true;
    Hide();
}

void frmUSBSelect::Delay(double seconds, bool noEvents)
{
    Pause(seconds, noEvents);
}
