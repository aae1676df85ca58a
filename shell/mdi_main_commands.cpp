// The main window's commands: menus, toolbar, setup files and the run mode.

#include "shell/mdi_main.h"

#include "board/cls_ezusb.h"
#include "board/globals.h"
#include "board/setup_file.h"
#include "board/utility.h"
#include "boardui/board_attach.h"
#include "boardui/form_names.h"
#include "shell/frm_usb_select.h"
#include "shell/startup.h"
#include "widgets/common_dialog.h"

#include "platform/os/program_folder.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include <array>

namespace {

const QString kSetupFilter =
    QStringLiteral("Setup Files (*.stp)|*.stp|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");

// When a window's menu entry is ticked and unticked: the forms registry tells the main window what
// happens to each window, and this table alone says what that does to the ticks. Choosing an entry ticks
// it too (`mnuView_Click`, `mnuIODUTIO_Click`).
enum class Tick {
    OnLoad,     // the window loads
    OnActivate, // the window becomes the active one
    ByMenuOnly, // only choosing the entry ticks it
};
enum Untick : unsigned {
    OnCloseBox = 1, // the user closes the window from its control menu (even when it stays loaded)
    OnUnload = 2,   // the window unloads, by whatever means
};
struct ViewEntry {
    const char* menu;
    ui::Menu mdiMain::*entry;
    const QString* window;
    Tick tick;
    unsigned untick;
};
// "Register Debug Window" opens the register debug window, as "Debug Window" does. The DUT I/O entry
// lives in the I/O menu.
constexpr std::array<ViewEntry, 15> kViewEntries = {{
    {"mnuViewControl", &mdiMain::mnuViewControl, &formnames::frmControl, Tick::OnLoad, OnCloseBox},
    {"mnuViewProfiles", &mdiMain::mnuViewProfiles, &formnames::frmProfile, Tick::OnLoad, OnCloseBox},
    {"mnuViewFreqNSwp", &mdiMain::mnuViewFreqNSwp, &formnames::frmFreqAndSweep, Tick::OnActivate, OnCloseBox},
    {"mnuViewQDRSR", &mdiMain::mnuViewQDRSR, &formnames::frmQDUCRSR, Tick::OnLoad, OnCloseBox},
    {"mnuViewFIFOControl", &mdiMain::mnuViewFIFOControl, &formnames::frmFIFOControl, Tick::OnLoad,
     OnCloseBox | OnUnload},
    {"mnuViewMultiChipSync", &mdiMain::mnuViewMultiChipSync, &formnames::frmMultiChipSync, Tick::OnLoad,
     OnCloseBox},
    {"mnuViewRAMDebug", &mdiMain::mnuViewRAMDebug, &formnames::frmRAMDebug, Tick::OnLoad, OnUnload},
    {"mnuViewGPIO", &mdiMain::mnuViewGPIO, &formnames::frmGPIO, Tick::ByMenuOnly, OnUnload},
    {"mnuViewADC", &mdiMain::mnuViewADC, &formnames::frmADC, Tick::ByMenuOnly, OnUnload},
    {"mnuViewWDT", &mdiMain::mnuViewWDT, &formnames::frmWatchDogTmr, Tick::ByMenuOnly, OnUnload},
    {"mnuViewDebugWnd", &mdiMain::mnuViewDebugWnd, &formnames::frmDebug, Tick::OnLoad, OnUnload},
    {"mnuViewFIFODebugwnd", &mdiMain::mnuViewFIFODebugwnd, &formnames::frmFIFODebug, Tick::OnLoad, OnUnload},
    {"mnuViewRegDebug", &mdiMain::mnuViewRegDebug, &formnames::frmDebug, Tick::ByMenuOnly, OnUnload},
    {"mnuViewRegMap", &mdiMain::mnuViewRegMap, &formnames::frmRegMapVals, Tick::OnLoad, OnUnload},
    {"mnuIODUTIO", &mdiMain::mnuIODUTIO, &formnames::frmIOInterface, Tick::OnActivate, OnCloseBox},
}};

struct ModeView {
    const char* suffix;
    bool fifoDebug;
    bool regDebug;
    bool adc;
    bool wdt;
    bool regMap;
};
constexpr std::array<ModeView, 6> kModeViews = {{
    {"", false, false, false, false, true},
    {" - Debug Mode ", true, false, false, false, true},
    {" - Engineering Mode", false, false, false, false, true},
    {" - ZEL Full Engineering Mode", true, true, false, false, true},
    {" - *", false, false, false, false, true},
    {" - **", false, false, true, true, true},
}};

} // namespace

void mdiMain::followWindow(ui::Form& form, ui::Forms::Lifecycle event, int unloadMode)
{
    using Lifecycle = ui::Forms::Lifecycle;
    for (const ViewEntry& view : kViewEntries) {
        if (form.Name() != *view.window)
            continue;
        ui::Menu& entry = this->*view.entry;
        switch (event) {
        case Lifecycle::Loaded:
            if (view.tick == Tick::OnLoad)
                entry.setChecked(true);
            break;
        case Lifecycle::Activated:
            if (view.tick == Tick::OnActivate)
                entry.setChecked(true);
            break;
        case Lifecycle::QueryUnload:
            if ((view.untick & OnCloseBox) != 0 && unloadMode == ui::vbFormControlMenu)
                entry.setChecked(false);
            break;
        case Lifecycle::Unloaded:
            if ((view.untick & OnUnload) != 0)
                entry.setChecked(false);
            break;
        }
    }
}

QString mdiMain::viewEntryWindow(const QString& menuName)
{
    for (const ViewEntry& entry : kViewEntries)
        if (menuName == QLatin1String(entry.menu))
            return *entry.window;
    return QString();
}

void mdiMain::SetMode()
{
    if (giRunMode < 0 || giRunMode >= static_cast<int>(kModeViews.size()))
        return;
    const ModeView& view = kModeViews[giRunMode];
    setCaption(ui::applicationTitle() + QString::fromLatin1(view.suffix));
    mnuViewFIFODebugwnd.setVisible(view.fifoDebug);
    mnuViewRegDebug.setVisible(view.regDebug);
    mnuViewADC.setVisible(view.adc);
    mnuViewWDT.setVisible(view.wdt);
    mnuViewRegMap.setVisible(view.regMap);
}

void mdiMain::mnuView_Click(ui::Menu& entry)
{
    const QString window = viewEntryWindow(entry.Name());
    // A window that does not exist in this program leaves the entry as it is.
    if (window.isEmpty() || !ui::Forms::showByName(window))
        return;
    entry.setChecked(true);
}

void mdiMain::cmdToolBarBtn_Click(int index)
{
    switch (index) {
    case 0:
        mnuFileLoadSetup_Click();
        break;
    case 1:
        mnuFileSaveSetup_Click();
        break;
    case 2:
        if (goEvalBd != nullptr)
            goEvalBd->StrobeReset();
        break;
    case 3:
        if (goEvalBd != nullptr)
            goEvalBd->StrobeREGUD();
        break;
    case 4:
        ui::Forms::showByName(formnames::frmSimulatorSetup);
        break;
    case 5:
        ui::Forms::showByName(formnames::frmQAMVG);
        break;
    default:
        break;
    }
}

bool mdiMain::askSetupFile(bool save, QString& fileName)
{
    cCommonDialog dialog;
    QString title;
    QString filter = kSetupFilter;
    int32_t filterIndex = 1;
    int32_t flags = 0;
    // Until a file dialog of the program has been confirmed once, the dialogs start in the program folder;
    // afterwards where the dialog was left.
    const QString initialFolder = gbDlgShown ? QString() : os::programFolder();
    const auto owner = static_cast<int32_t>(hWnd());
    bool confirmed = false;
    fileName.clear();
    if (save) {
        flags = filedlg::OverwritePrompt;
        confirmed =
            dialog.VBGetSaveFileName(fileName, title, true, filter, filterIndex, initialFolder,
                                     QStringLiteral("Save Setup File"), QStringLiteral("STP"), owner, flags);
    } else {
        bool readOnly = false;
        flags = filedlg::PathMustExist;
        confirmed = dialog.VBGetOpenFileName(fileName, title, false, false, readOnly, false, filter,
                                             filterIndex, initialFolder, QStringLiteral("Load Setup File"),
                                             QStringLiteral("STP"), owner, flags);
    }
    DoEventsN(2);
    if (!confirmed || fileName.isEmpty())
        return false;
    gbDlgShown = true;
    return true;
}

mdiMain::SetupLoadMessage mdiMain::setupLoadMessage(int result)
{
    switch (result) {
    case kSetupNoChip:
        return {QStringLiteral("Unable to load the setup file."), ui::vbExclamation,
                QStringLiteral("DUT Not Detected!")};
    case kSetupBadFile:
        return {QStringLiteral("File load error!"), ui::vbExclamation, QStringLiteral("Invalid Setup File")};
    case kSetupLoaded:
        return {QStringLiteral("Setup file load successful!"), ui::vbInformation,
                QStringLiteral("Setup File Loaded")};
    case kSetupChipWriteFailed:
        return {QStringLiteral("The setup file was read, but the evaluation board did not accept every "
                               "register.\nThe windows show the file's values; load them again once the "
                               "board answers."),
                ui::vbExclamation, QStringLiteral("Setup File Not Fully Loaded")};
    default:
        return {};
    }
}

void mdiMain::mnuFileLoadSetup_Click()
{
    QString fileName;
    if (!askSetupFile(false, fileName))
        return;
    const SetupLoadMessage message = setupLoadMessage(ebLoadSetupFile(fileName));
    if (!message.prompt.isEmpty())
        ui::MsgBox(message.prompt, message.flags, message.title);
    ebRefreshAllForms();
}

void mdiMain::mnuFileSaveSetup_Click()
{
    QString fileName;
    if (!askSetupFile(true, fileName))
        return;
    ebSaveSetupFile(fileName);
}

void mdiMain::mnuFileExit_Click()
{
    EndProgram();
}

void mdiMain::mnuIOSelectEvalBd_Click()
{
    ui::form<frmUSBSelect>().ShowDialog(QStringLiteral("Select Evaluation Board"),
                                        QStringLiteral("Select the evaluation board to use from the list."));
    // Only the indicator follows here; the USB watch takes the board into use when it sees it connect.
    usbWatch_.showChosenBoard();
}

void mdiMain::mnuIODUTIO_Click()
{
    if (ui::Forms::showByName(formnames::frmIOInterface))
        mnuIODUTIO.setChecked(true);
}

void mdiMain::mnuHelpAbout_Click()
{
    if (ui::Form* about = ui::Forms::load(formnames::frmAbout))
        about->Show(1);
}
