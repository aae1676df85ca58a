#pragma once

// frmAbout: the program's title and version, the attached chip's silicon revision and the user's region,
// the desktop's system-information tool and a web link. It is also the second way into the run modes:
// with Ctrl and Alt held, letters typed anywhere in the window collect a keyword (Ctrl or Alt pressed
// again starts it afresh), and characters typed into the region box are added as typed; OK hands the
// keyword to the run-mode switch.

#include "boardui/form_names.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>
#include <memory>

class frmAbout : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmAbout;

    frmAbout();
    ~frmAbout() override;

    // ---- controls ----
    ui::PictureBox picIcon{this, "picIcon"};
    ui::Label lblTitle{this, "lblTitle"};
    ui::Label lblDevice{this, "lblDevice"};
    ui::Label lblSiliconRev{this, "lblSiliconRev"};
    ui::Label lblCountry{this, "lblCountry"};
    ui::TextBox lblCountrySet{this, "lblCountrySet"};
    ui::Label lblDescription{this, "lblDescription"};
    ui::Label lblDDSWeb{this, "lblDDSWeb"};
    ui::CommandButton cmdOK{this, "cmdOK"};
    ui::CommandButton cmdSysInfo{this, "cmdSysInfo"};

    // ---- public members ----
    // Whether the desktop has a system-information tool.
    static bool IsSysInfoAvail();
    // Starts the tool in a normal window; says so when there is none.
    static void StartSysInfo();

    // The title line: title, " Version ", major "." minor, and "." revision only when it is not 0.
    static QString titleText(const QString& title, int major, int minor, int revision);
    // The revision label for a silicon revision code: "" (0), "1 or 2", "3" or "Unknown".
    static QString siliconRevText(int16_t siliconRev);

    // The keyword typed so far.
    const QString& keyword() const { return keyword_; }

    // ---- handlers ----
    // Keys reach the window before its controls. shift: 1 Shift, 2 Ctrl, 4 Alt.
    void Form_KeyDown(int& keyCode, int shift);
    void lblCountrySet_KeyPress(int& keyAscii);
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void lblDDSWeb_Click();

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    class KeyPreview;
    QString keyword_;
    std::unique_ptr<KeyPreview> keyPreview_;
};
