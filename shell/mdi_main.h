#pragma once

// mdiMain: the program's frame. It owns the board object (EvalBd, shared as goEvalBd) and the status-bar
// progress bar (goProgressBar), carries the menus and the toolbar from which every other window opens,
// shows the board's connection and FIFO state in its status bar, holds the "Auto" I/O update box that
// every window's Load consults, watches the USB connection every 300 ms and handles the board object's
// events.
//
// Windows of other parts of the program are reached only by name through the forms registry: a View entry
// or toolbar button whose window does not exist (yet) does nothing.
//
// Procedures callable by name (ui::Forms::callIfLoaded("mdiMain", ...)): "UpdateUSBStat",
// "UpdateFIFOStat", "SetMode".

#include "board/evalbd.h"
#include "boardui/form_names.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/mdi_form.h"
#include "platform/ui/menu.h"
#include "platform/ui/timer.h"
#include "shell/board_status_indicators.h"
#include "shell/transfer_display.h"
#include "shell/usb_watch.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <memory>

class mdiMain : public ui::MdiForm {
public:
    static inline const QString& FormName = formnames::mdiMain;

    // The window's handle (hWnd) is this running copy's host identifier on the board it claims: stable,
    // non-zero, 32-bit and unique to the running copy (the process id).
    mdiMain();
    ~mdiMain() override;

    // ---- the board object; created when the window loads, alive until the end of the program ----
    std::unique_ptr<cZR4470XEvalBd> EvalBd;

    // ---- controls, in their order ----
    ui::TimerControl tmrUSBCheck{this, "tmrUSBCheck", 300};
    ui::PictureBox pbxStatusBar{this, "pbxStatusBar"};
    ui::PictureBox pbxProgress{this, "pbxProgress"};
    ui::Label lblFIFOStat{this, "lblFIFOStat"};
    ui::Image imgResizer{this, "imgResizer"};
    ui::Label lblUSBStat{this, "lblUSBStat"};
    ui::Image imgUsbAttention{this, "imgUsbAttention"};
    ui::Image imgUSBIco{this, "imgUSBIco"};
    ui::PictureBox pbxToolBar{this, "pbxToolBar"};
    // 0 load setup, 1 save setup, 2 "RESET", 3 "I/O Update", 4 "Simulator", 5 "MVG"
    ui::ControlArray<ui::CommandButton> cmdToolBarBtn{this, "cmdToolBarBtn", 6};
    ui::CheckBox chkAutoIOUd{this, "chkAutoIOUd"};
    ui::Line lneSep1{this, "lneSep1"};
    ui::ControlArray<ui::Line> lneMainMenuSep{this, "lneMainMenuSep", 2};

    // ---- menus ----
    ui::Menu mnuFile{this, "mnuFile", "&File"};
    ui::Menu mnuFileLoadSetup{this, "mnuFileLoadSetup", "&Load Setup...", &mnuFile};
    ui::Menu mnuFileSaveSetup{this, "mnuFileSaveSetup", "&Save Setup...", &mnuFile};
    ui::Menu mnuFileSep1{this, "mnuFileSep1", "-", &mnuFile};
    ui::Menu mnuFileExit{this, "mnuFileExit", "E&xit", &mnuFile};

    ui::Menu mnuIO{this, "mnuIO", "I/O"};
    ui::Menu mnuIOSelectEvalBd{this, "mnuIOSelectEvalBd", "&Select Eval Board...", &mnuIO};
    ui::Menu mnuIOSep1{this, "mnuIOSep1", "-", &mnuIO};
    ui::Menu mnuIODUTIO{this, "mnuIODUTIO", "&DUT I/O...", &mnuIO};

    ui::Menu mnuOptions{this, "mnuOptions", "&Options"};

    ui::Menu mnuView{this, "mnuView", "&View"};
    ui::Menu mnuViewControl{this, "mnuViewControl", "Control Window", &mnuView};
    ui::Menu mnuViewProfiles{this, "mnuViewProfiles", "Profile Window", &mnuView};
    ui::Menu mnuViewFreqNSwp{this, "mnuViewFreqNSwp", "OSK Control Window", &mnuView};
    ui::Menu mnuViewQDRSR{this, "mnuViewQDRSR", "QDUC RAM Control Window", &mnuView};
    ui::Menu mnuViewFIFOControl{this, "mnuViewFIFOControl", "FIFO Control Window", &mnuView};
    ui::Menu mnuViewMultiChipSync{this, "mnuViewMultiChipSync", "Multi-Chip Sync Window", &mnuView};
    ui::Menu mnuViewRAMDebug{this, "mnuViewRAMDebug", "RAM I/O Window", &mnuView};
    ui::Menu mnuViewGPIO{this, "mnuViewGPIO", "GPIO Window", &mnuView};
    ui::Menu mnuViewADC{this, "mnuViewADC", "ADC Window", &mnuView};
    ui::Menu mnuViewWDT{this, "mnuViewWDT", "Watch Dog Timer Window", &mnuView};
    ui::Menu mnuViewSep1{this, "mnuViewSep1", "-", &mnuView};
    ui::Menu mnuViewDebugWnd{this, "mnuViewDebugWnd", "Debug Window", &mnuView};
    ui::Menu mnuViewFIFODebugwnd{this, "mnuViewFIFODebugwnd", "FIFO Debug Window", &mnuView};
    ui::Menu mnuViewRegDebug{this, "mnuViewRegDebug", "Register Debug Window", &mnuView};
    ui::Menu mnuViewRegMap{this, "mnuViewRegMap", "Register Map Values", &mnuView};

    ui::Menu mnuHelp{this, "mnuHelp", "&Help"};
    ui::Menu mnuHelpAbout{this, "mnuHelpAbout", "&About", &mnuHelp};

    // ---- services of the window ----
    // Redraws the USB indicator from gbBoardConnected.
    void UpdateUSBStat();
    // Redraws the FIFO indicator from gbBoardConnected and gbHasFIFO.
    void UpdateFIFOStat();
    // Applies giRunMode to the caption (application title and the mode's suffix) and the View menu.
    void SetMode();

    // The window that each View entry opens (empty for entries without one).
    static QString viewEntryWindow(const QString& menuName);

    // ---- handlers ----
    void tmrUSBCheck_Timer();
    void cmdToolBarBtn_Click(int index);
    void pbxStatusBar_Paint();
    void pbxToolBar_Resize();
    void imgResizer_MouseDown(int button, int shift, float x, float y);
    void imgResizer_MouseMove(int button, int shift, float x, float y);

    void mnuFileLoadSetup_Click();
    void mnuFileSaveSetup_Click();
    void mnuFileExit_Click();
    void mnuIOSelectEvalBd_Click();
    void mnuIODUTIO_Click();
    void mnuHelpAbout_Click();
    // Every View entry: show its window in normal state, bring it to the front, check the entry.
    void mnuView_Click(ui::Menu& entry);
    // Keeps the View and I/O menus' ticks in step with what the forms registry reports of each window.
    void followWindow(ui::Form& form, ui::Forms::Lifecycle event, int unloadMode);

    // Handlers of the board object's events (RegMapReset, RESETAsserted and RESETReleased are not handled).
    void EvalBd_AfterRESET();
    void EvalBd_FIFOLoadBegin(int32_t count, int16_t perPacket);
    void EvalBd_FIFOPacketSent(int32_t count);
    void EvalBd_FIFOLoadFinished(bool success);
    void EvalBd_RAMCOMBegin(int32_t words, int16_t wordsPerPacket, bool isRead);
    void EvalBd_RAMPacketXfered(int32_t wordsDone);
    void EvalBd_RAMCOMFinished(bool success);

    // The text of each setup-file result as the File menu reports it (empty for a result without one).
    struct SetupLoadMessage {
        QString prompt;
        int flags = 0;
        QString title;
    };
    static SetupLoadMessage setupLoadMessage(int result);

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    void bindHandlers();
    void connectBoardEvents();
    bool askSetupFile(bool save, QString& fileName);

    BoardStatusIndicators statusIndicators_{lblUSBStat, imgUSBIco, imgUsbAttention, lblFIFOStat};
    UsbWatch usbWatch_{statusIndicators_};
    TransferDisplay transfer_;
    // Where a drag of the size grip began (screen pixels) and the window's size then.
    QPoint gripStart_;
    QSize gripStartSize_;
};
