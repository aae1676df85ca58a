// Main: the program's start-up, in its fixed order, each step reported on the splash window and in
// "startup.log".

#include "shell/startup.h"

#include "board/cls_ezusb.h"
#include "board/cls_ezusb_version.h"
#include "board/evalbd.h"
#include "board/globals.h"
#include "board/run_mode.h"
#include "board/sound.h"
#include "board/utility.h"
#include "board/zel_locale_info.h"
#include "boardui/board_message_box.h"
#include "boardui/board_window_services.h"
#include "boardui/form_names.h"
#include "boardui/window_utility.h"
#include "platform/os/program_folder.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "platform/usb/board_ids.h"
#include "shell/app_info.h"
#include "shell/frm_splash.h"
#include "shell/frm_usb_select.h"
#include "shell/main_window_placement.h"
#include "shell/mdi_main.h"
#include "shell/register_window.h"
#include "shell/startup_board_wait.h"

#include <memory>

namespace {

const QString kCyDevOption = QStringLiteral("-CYDEV");
const QString kDevModeOption = QStringLiteral("-DEVMODE");

// A status line on the splash, while it is there: a splash the user closed meanwhile is not brought back.
void statusLine(const QString& text)
{
    if (frmSplash* splash = ui::loadedForm<frmSplash>())
        splash->AddStatLine(text);
}

void statusInRed()
{
    if (frmSplash* splash = ui::loadedForm<frmSplash>())
        splash->SetStatusTextColor(glClrRed);
}

QString withoutOption(QString commandLine, const QString& option)
{
    commandLine.remove(option);
    commandLine.remove(QLatin1Char(' '));
    return commandLine;
}

void readLocale()
{
    const zelLocaleInfo locale;
    gsDecimalSep = locale.GetLocaleInfo(zelLocaleInfo::DecimalSeparator);
    giDecimalSepCode =
        gsDecimalSep.isEmpty() ? int16_t{0} : static_cast<int16_t>(gsDecimalSep.at(0).unicode());
    gsNegativeSign = locale.GetLocaleInfo(zelLocaleInfo::NegativeSign);
    giNegativeSignCode =
        gsNegativeSign.isEmpty() ? int16_t{0} : static_cast<int16_t>(gsNegativeSign.at(0).unicode());
}

// The USB options of the command line, then its run-mode keyword.
void applyCommandLineOptions()
{
    clsEZUSB& usb = goEZUSB();
    if (!gsCmdLine.contains(kCyDevOption)) {
        // A board may report identifiers of its own (TESSARON_USB_ID); the USB object compares signed 16-bit.
        const usb::UsbIds ids = usb::boardIds();
        usb.setVendorID(static_cast<int16_t>(ids.vendor));
        usb.setProductID(static_cast<int16_t>(ids.product));
    } else {
        usb.setVendorID(kDevKitVendorID);
        usb.setProductID(kDevKitProductID);
        usb.UseEZUSBDriver();
        usb.USBDriverInstalled();
        gsCmdLine = withoutOption(gsCmdLine, kCyDevOption);
    }
    if (gsCmdLine.contains(kDevModeOption)) {
        usb.UseEZUSBDriver();
        usb.USBDriverInstalled();
        gsCmdLine = withoutOption(gsCmdLine, kDevModeOption);
    }
    SetRunModeFromCommand();
}

// Whether the board's firmware is older than the host identifier (0.3): it answers no claim.
bool keepsNoHostID(int16_t index)
{
    const QString text = goEZUSB().GetFirmWareVersion(index);
    const std::optional<double> version = ezusbVersionNumber(text, ezusbDecimalSeparator());
    // "0" alone is the version of a board the command could not be sent to.
    return text != QLatin1String("0") && version && *version < 0.3;
}

// Selects a board when one is attached; false when the user gave up the choice (the program must end).
bool chooseBoard(uint32_t hostId)
{
    clsEZUSB& usb = goEZUSB();
    const int16_t count = usb.DeviceCount();
    if (count == 0) {
        statusLine(QStringLiteral("   No Evaluation Boards Attached."));
        statusInRed();
        return true;
    }
    if (count == 1) {
        usb.SelectDevice(0, static_cast<int32_t>(hostId), true);
        statusLine(QStringLiteral("   Using Evaluation Board - ") + usb.DriverName() + QLatin1Char('.'));
        return true;
    }
    // Several boards: the first that no running copy claims. A board whose firmware keeps no host
    // identifier reads as free; one whose identifier cannot be read is not taken for free.
    for (int16_t index = 0; index < count; ++index) {
        int32_t claimedBy = 0;
        if (usb.GetHostID(index, claimedBy) != 1 && !keepsNoHostID(index))
            continue;
        if (claimedBy == 0) {
            usb.SelectDevice(index, static_cast<int32_t>(hostId), true);
            return true;
        }
    }
    const QString chosen = ui::form<frmUSBSelect>().ShowDialog(QStringLiteral("Select USB Device"),
                                                               QStringLiteral("Select an evalution board."));
    return !chosen.isEmpty();
}

// The chosen board may be held by another running copy through one of its actions: it is waited for, and
// once this copy has it, it is selected again, which writes this copy's host identifier into it as the
// first selection could not. The board steps below then run on it as they would with no other copy.
void waitForTheChosenBoard(uint32_t hostId)
{
    clsEZUSB& usb = goEZUSB();
    if (waitForBoardAnotherCopyHolds(usb.DriverName(), ui::form<mdiMain>().tmrUSBCheck))
        usb.SelectDevice(usb.GetDeviceIndex(usb.DriverName()), static_cast<int32_t>(hostId), true);
}

void detectChip(cZR4470XEvalBd& board)
{
    statusLine(QString());
    statusLine(QStringLiteral("Detecting DUT..."));
    board.StrobeReset();
    const int16_t revision = board.DetectSiliconRev();
    if (revision == 2) {
        board.InitRegMap(2);
        statusLine(QStringLiteral("   Silicon Revision:  SR1 or SR2"));
    } else if (revision != 0) {
        statusLine(QStringLiteral("   Silicon Revision:  SR") + QString::number(revision));
    } else {
        statusLine(QStringLiteral("   Error - DUT not detected!"));
        statusInRed();
        board.InitRegMap(3);
    }
}

void showByName(const QString& name)
{
    // The window is shown when this program has it; start-up goes on either way.
    if (ui::Form* form = ui::Forms::load(name))
        form->Show();
}

} // namespace

void Main(const QString& commandLine)
{
    RegisterShellWindows();
    InstallBoardMessageBoxes();
    InstallBoardWindowServices();
    ui::setApplicationTitle(kApplicationTitle);

    glClrGreen = 0x00FF00;
    glClrDkGreen = 0x004000;
    glClrRed = 0x0000FF;
    glClrDkRed = 0x000040;
    glClrYellow = 0x00FFFF;
    glClrDkYellow = 0x004040;

    InitSound();
    gsCmdLine = commandLine.toUpper();
    gsManifestPath =
        os::programFolder() + QLatin1Char('/') + os::executableBaseName() + QStringLiteral(".exe.MANIFEST");
    if (FileExists(gsManifestPath))
        InitCommonControlsVB();
    readLocale();
    ReplaceEZUSB(std::make_unique<clsEZUSB>());

    // The splash loads the main window (hidden), which creates the board object and the progress bar.
    frmSplash& splash = ui::form<frmSplash>();
    splash.Show();
    splash.Refresh();
    const uint32_t hostId = ui::form<mdiMain>().hWnd();

    statusLine(QStringLiteral("Initializing USB I/0 Interface..."));
    applyCommandLineOptions();

    statusLine(QStringLiteral("Checking for USB Drivers..."));
    if (!goEZUSB().USBDriverIsInstalled()) {
        statusLine(QStringLiteral("   Error - USB Driver Not Found."));
    } else {
        statusLine(QStringLiteral("   USB Driver Found."));
        goEZUSB().GetDevices();
        statusLine(QStringLiteral("Searching for Evaluation Board..."));
        if (!chooseBoard(hostId))
            EndProgram();
        waitForTheChosenBoard(hostId);
    }

    statusLine(QString());
    statusLine(QStringLiteral("Loading Main Window..."));
    mdiMain& main = ui::form<mdiMain>();
    placeMainWindow(main);
    main.setCaption(kApplicationTitle);
    main.Show();
    main.SetMode();
    goEvalBd = main.EvalBd.get();

    const bool boardSelected = regwin::boardSelected();
    if (boardSelected && goEvalBd != nullptr) {
        goEvalBd->InitIOBuffs();
        goEvalBd->setCSB(1);
        goEvalBd->USBWritePortBuffVal(kPortA);
        goEvalBd->setREGUD_EN(1);
        goEvalBd->USBWritePortBuffVal(kPortE);

        detectChip(*goEvalBd);

        statusLine(QString());
        statusLine(QStringLiteral("Resetting Hardware and Software..."));
        goEvalBd->StrobeReset();
    }

    statusLine(QStringLiteral("Loading Control Window..."));
    showByName(formnames::frmControl);
    statusLine(QStringLiteral("Loading Profile Window..."));
    showByName(formnames::frmProfile);

    statusLine(QString());
    statusLine(QStringLiteral("Software Ready!"));
    if (frmSplash* shown = ui::loadedForm<frmSplash>()) {
        shown->SetFocus();
        shown->AutoUnloadEnable();
    }
}
