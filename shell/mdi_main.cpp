// The main window as a window: its controls, loading and closing, the USB and FIFO lamps, and the
// handlers of the board object's events.

#include "shell/mdi_main.h"

#include "board/board_flags.h"
#include "board/cls_ezusb.h"
#include "board/evalbd.h"
#include "boardui/board_event_binding.h"
#include "boardui/external_programs.h"
#include "boardui/form_names.h"
#include "shell/frm_graphics.h"
#include "shell/mdi_main_progress.h"
#include "shell/register_window.h"
#include "shell/startup.h"

#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

// Windows that show chip values, in the order a board reset refreshes them. The register-map values window
// is not among them.
const QString* const kResetRefreshWindows[] = {
    &formnames::frmControl,     &formnames::frmQDUCRSR,   &formnames::frmMultiChipSync,
    &formnames::frmIOInterface, &formnames::frmProfile,   &formnames::frmFreqAndSweep,
    &formnames::frmDebug,       &formnames::frmFIFODebug, &formnames::frmADC,
    &formnames::frmWatchDogTmr, &formnames::frmGPIO};

// The size grip's picture: three diagonal ridges in the bottom-right corner.
QPixmap gripPicture()
{
    QPixmap picture(13, 13);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QPen(ui::toQColor(ui::colors::vbButtonShadow), 1));
    for (int k = 0; k < 3; ++k) {
        const int offset = 4 * k + 2;
        painter.drawLine(offset, 12, 12, offset);
    }
    return picture;
}

} // namespace

mdiMain::mdiMain() : MdiForm(FormName)
{
    // The board sees this window's handle as the running copy's claim: the process id is unique among the
    // copies running at the same time.
    const auto pid = static_cast<uint32_t>(QCoreApplication::applicationPid());
    setHWnd(pid != 0 ? pid : 1u);
    lblFIFOStat.setCaption(QStringLiteral("FIFO Missing"));
    const QString usbTip = QStringLiteral("Indicates eval board connection status");
    lblUSBStat.setCaption(QStringLiteral("Not Connected"));
    lblUSBStat.setToolTipText(usbTip);
    imgUsbAttention.setToolTipText(usbTip);
    imgUSBIco.setToolTipText(usbTip);

    cmdToolBarBtn(0).setToolTipText(QStringLiteral(" Load Setup File "));
    cmdToolBarBtn(1).setToolTipText(QStringLiteral(" Save Setup to a File "));
    cmdToolBarBtn(2).setCaption(QStringLiteral("RESET"));
    cmdToolBarBtn(2).setToolTipText(QStringLiteral(" Master Reset "));
    cmdToolBarBtn(3).setCaption(QStringLiteral("I/O Update"));
    cmdToolBarBtn(3).setToolTipText(QStringLiteral(" I/O Update "));
    cmdToolBarBtn(4).setCaption(QStringLiteral("Simulator"));
    cmdToolBarBtn(4).setToolTipText(QStringLiteral(" Simulator Setup"));
    cmdToolBarBtn(5).setCaption(QStringLiteral("MVG"));
    cmdToolBarBtn(5).setToolTipText(QStringLiteral("Modulation Vector Generator"));
    for (auto& button : cmdToolBarBtn)
        button.setTabStop(false);

    chkAutoIOUd.setCaption(QStringLiteral("Auto"));
    chkAutoIOUd.setToolTipText(QStringLiteral(" I/O Update After Every Load"));
    chkAutoIOUd.setValue(1);

    pbxStatusBar.setAlign(ui::vbAlignBottom);
    pbxStatusBar.setBorderStyle(0);
    pbxProgress.setBorderStyle(0);
    pbxProgress.setAutoRedraw(true);
    pbxToolBar.setAlign(ui::vbAlignTop);
    pbxToolBar.setBorderStyle(0);
    lblFIFOStat.setAlignment(ui::vbCenter);
    lblFIFOStat.setBorderStyle(1);
    lblUSBStat.setAlignment(ui::vbCenter);
    lblUSBStat.setBorderStyle(1);
    imgResizer.setPicture(gripPicture());
    imgResizer.setToolTipText(QString());

    // The RAM I/O Window entry and the Options menu carry a design flag the other entries lack: both are
    // kept visible here (the Options menu does nothing when chosen).
    registerProc(formnames::UpdateUSBStat, [this] { UpdateUSBStat(); });
    registerProc(formnames::UpdateFIFOStat, [this] { UpdateFIFOStat(); });
    registerProc(formnames::SetMode, [this] { SetMode(); });
    bindHandlers();
}

mdiMain::~mdiMain()
{
    ui::Forms::clearWatcher(this);
    // Gone without its Unload (the end of a test): no main window, no "Auto".
    if (ui::loadedForm<mdiMain>() == nullptr)
        regwin::publishAutoIOUpdate(false);
    if (goEvalBd == EvalBd.get())
        goEvalBd = nullptr;
}

void mdiMain::bindHandlers()
{
    ui::bind(tmrUSBCheck.Timer, this, &mdiMain::tmrUSBCheck_Timer);
    cmdToolBarBtn.bind(&ui::CommandButton::Click, this, &mdiMain::cmdToolBarBtn_Click);
    ui::bind(pbxStatusBar.Paint, this, &mdiMain::pbxStatusBar_Paint);
    ui::bind(pbxStatusBar.Resize, this, &mdiMain::pbxStatusBar_Paint);
    ui::bind(pbxToolBar.Resize, this, &mdiMain::pbxToolBar_Resize);
    ui::bind(imgResizer.MouseDown, this, &mdiMain::imgResizer_MouseDown);
    ui::bind(imgResizer.MouseMove, this, &mdiMain::imgResizer_MouseMove);

    // The windows' LOAD reads the box through the state published here.
    chkAutoIOUd.Click = [this] { regwin::publishAutoIOUpdate(chkAutoIOUd.Value() == 1); };
    ui::bind(mnuFileLoadSetup.Click, this, &mdiMain::mnuFileLoadSetup_Click);
    ui::bind(mnuFileSaveSetup.Click, this, &mdiMain::mnuFileSaveSetup_Click);
    ui::bind(mnuFileExit.Click, this, &mdiMain::mnuFileExit_Click);
    ui::bind(mnuIOSelectEvalBd.Click, this, &mdiMain::mnuIOSelectEvalBd_Click);
    ui::bind(mnuIODUTIO.Click, this, &mdiMain::mnuIODUTIO_Click);
    ui::bind(mnuHelpAbout.Click, this, &mdiMain::mnuHelpAbout_Click);
    for (ui::Menu* entry : mnuView.entries())
        if (!entry->isSeparator())
            entry->Click = [this, entry] { mnuView_Click(*entry); };
}

void mdiMain::connectBoardEvents()
{
    cZR4470XEvalBd& board = *EvalBd;
    bindBoardEvent(board.AfterRESET, this, &mdiMain::EvalBd_AfterRESET);
    bindBoardEvent(board.FIFOLoadBegin, this, &mdiMain::EvalBd_FIFOLoadBegin);
    bindBoardEvent(board.FIFOPacketSent, this, &mdiMain::EvalBd_FIFOPacketSent);
    bindBoardEvent(board.FIFOLoadFinished, this, &mdiMain::EvalBd_FIFOLoadFinished);
    bindBoardEvent(board.RAMCOMBegin, this, &mdiMain::EvalBd_RAMCOMBegin);
    bindBoardEvent(board.RAMPacketXfered, this, &mdiMain::EvalBd_RAMPacketXfered);
    bindBoardEvent(board.RAMCOMFinished, this, &mdiMain::EvalBd_RAMCOMFinished);
}

void mdiMain::Form_Load()
{
    ui::Forms::setWatcher(this, [this](ui::Form& form, ui::Forms::Lifecycle event, int unloadMode) {
        followWindow(form, event, unloadMode);
    });
    regwin::publishAutoIOUpdate(chkAutoIOUd.Value() == 1);
    EvalBd = std::make_unique<cZR4470XEvalBd>();
    connectBoardEvents();
    // Start-up copies the reference again once the window is shown; until then nothing else may create a
    // second board object.
    goEvalBd = EvalBd.get();

    installProgressBar(pbxProgress);

    frmGraphics& graphics = ui::form<frmGraphics>();
    imgUSBIco.setPicture(graphics.imgUSBIcon(gbBoardConnected ? 0 : 1).Picture());
    imgUsbAttention.setPicture(graphics.imgAttenSM(0).Picture());

    const bool simulator = ebSimulatorPresent();
    cmdToolBarBtn(4).setEnabled(simulator);
    if (!simulator)
        cmdToolBarBtn(4).setToolTipText(QStringLiteral("Simulator (Not Installed)"));
    const bool generator = board::vectorGeneratorWithTabPresent();
    cmdToolBarBtn(5).setEnabled(generator);
    if (!generator)
        cmdToolBarBtn(5).setToolTipText(QStringLiteral("Modulation Vector Generator (Not Installed)"));
}

void mdiMain::UpdateUSBStat()
{
    statusIndicators_.showConnection(gbBoardConnected, goEZUSB().DriverName());
}

void mdiMain::UpdateFIFOStat()
{
    statusIndicators_.showFIFO(gbBoardConnected, gbHasFIFO);
}

void mdiMain::tmrUSBCheck_Timer()
{
    usbWatch_.tick();
}

void mdiMain::EvalBd_AfterRESET()
{
    for (const QString* name : kResetRefreshWindows)
        ui::Forms::callIfLoaded(*name, formnames::RefreshFormVals);
}

void mdiMain::EvalBd_FIFOLoadBegin(int32_t count, int16_t perPacket)
{
    (void)perPacket;
    transfer_.begins(EvalBd.get(), count, QStringLiteral("Loading FIFO"), false);
}

void mdiMain::EvalBd_FIFOPacketSent(int32_t count)
{
    transfer_.progress(count);
}

void mdiMain::EvalBd_FIFOLoadFinished(bool success)
{
    transfer_.ends(EvalBd.get(), success, QStringLiteral("FIFO Load Error!"));
}

void mdiMain::EvalBd_RAMCOMBegin(int32_t words, int16_t wordsPerPacket, bool isRead)
{
    (void)wordsPerPacket;
    transfer_.begins(EvalBd.get(), words,
                     isRead ? QStringLiteral("Reading RAM") : QStringLiteral("Writing RAM"), true);
}

void mdiMain::EvalBd_RAMPacketXfered(int32_t wordsDone)
{
    transfer_.progress(wordsDone);
}

void mdiMain::EvalBd_RAMCOMFinished(bool success)
{
    transfer_.ends(EvalBd.get(), success, QStringLiteral("RAM Load Error!"));
}

void mdiMain::Form_Resize()
{
    pbxStatusBar_Paint();
}

void mdiMain::Form_QueryUnload(int& cancel, int unloadMode)
{
    (void)unloadMode;
    // Closing is never cancelled here. The watch stops before any child window goes, so no tick reaches
    // a window in the middle of its unload; should a child keep the program open, it starts again.
    cancel = 0;
    ui::Forms::clearWatcher(this);
    regwin::publishAutoIOUpdate(false);
    tmrUSBCheck.setEnabled(false);
    if (QWidget* w = widget())
        QTimer::singleShot(0, w, [this] {
            if (IsLoaded())
                tmrUSBCheck.setEnabled(true);
        });
}

void mdiMain::Form_Unload(int& cancel)
{
    cancel = 0;
    tmrUSBCheck.setEnabled(false);
    // The board object stays until EndProgram has let go of the board; the runtime's plot windows get a
    // bounded time to close.
    ebCloseFigureWindows();
    EndProgram();
}
