#pragma once

// frmSplash: the window the user watches while the program starts. Start-up writes one line per step into
// its status box; every line but the first also goes to "startup.log". Once start-up has armed it, the
// window closes itself: quickly when all went well, and only on the user's action (a click, a key, or
// activating another window of the program) when an error line turned the text red.
//
// Once closing has begun, further close requests (clicks, keys, ticks during the closing animation) are
// ignored. Code that runs on after the window closed reaches it through ui::loadedForm<frmSplash>() and so
// never loads it again.

#include "boardui/form_names.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"
#include "shell/startup_log.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <memory>

class QObject;

class frmSplash : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmSplash;

    frmSplash();
    ~frmSplash() override;

    // ---- controls, in their order ----
    ui::TextBox txtStatus{this, "txtStatus", -1, true};
    ui::TimerControl tmrAutoUnload{this, "tmrAutoUnload", 500, false};
    ui::Label lblSupportedOs{this, "lblSupportedOs"};
    ui::Label lblAppTitle{this, "lblAppTitle"};
    ui::Label lblVersion{this, "lblVersion"};
    ui::Label lblStatus{this, "lblStatus"};
    ui::Image imgSkin{this, "imgSkin"};

    // ---- public operations ----
    // Drops the window's always-on-top state and unloads it.
    void Unload_Nice();
    // Adds a status line: the first line becomes the text (and is not logged); each later one goes on a
    // new line and into the log. The box repaints at once.
    void AddStatLine(const QString& text);
    // Arms the auto-close timer.
    void AutoUnloadEnable();
    // Scrolls the earlier lines out of view with six line breaks at the end.
    void ClearStatus();
    // The colour of the whole status text.
    void SetStatusTextColor(uint32_t colour);
    // The AddStatLine rule on another text box, without logging.
    static void AddLine(ui::TextBox& box, const QString& text);
    // The closing animation: the visible area shrinks to nothing.
    void TVEffectOut();
    // The same animation backwards, opening the window from nothing.
    void TVEffectIn();
    // Whether the system is of the family that needs a short pause between animation steps.
    static bool IsWinNT();
    void OpenLogFile();
    // Closes the log (and nothing else).
    void CloseLogFile();

    // ---- handlers ----
    void tmrAutoUnload_Timer();
    void lblStatus_MouseDown(int button, int shift, float x, float y);
    void lblStatus_MouseMove(int button, int shift, float x, float y);

    // Ticks seen while the status text was green.
    int greenTicks() const { return greenTicks_; }
    // Whether closing has begun (animation or unload under way).
    bool closing() const { return closing_; }

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    class CloseOnInput;
    void closeNicely();
    bool userActivatedAnotherWindow() const;
    void animate(bool closingAnimation);

    StartupLog log_;
    int16_t greenTicks_ = 0;
    uint64_t userActivationsWhenArmed_ = 0;
    uint64_t userPressesWhenArmed_ = 0;
    bool closing_ = false;
    QPoint dragStartCursor_;
    QPoint dragStartWindow_;
    std::unique_ptr<CloseOnInput> closeOnInput_;
};
