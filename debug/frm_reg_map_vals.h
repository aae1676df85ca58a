#pragma once

// frmRegMapVals: the board object's register map as text, one line per register address, from either
// copy ("New Values": pending, "Current Values": written) in binary or hexadecimal. It only reads: it never
// writes a register or talks to the board. While "Auto Refresh" is checked it reprints every 60 ms, and
// each reprint fits the window's height to its line count.
//
// Procedure callable by name: "RefreshFormVals".

#include "boardui/form_names.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <QPointer>
#include <QString>
#include <QStringList>

class RegisterLinesView;

class frmRegMapVals : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmRegMapVals;

    frmRegMapVals();
    ~frmRegMapVals() override;

    ui::Frame fraRefresh{this, "fraRefresh"};
    ui::Label lblRegMapBuff{this, "lblRegMapBuff"};
    ui::ComboBox cmbRegMap{this, "cmbRegMap", -1, ui::vbComboDropdownList};
    ui::Label lblFormat{this, "lblFormat"};
    ui::ControlArray<ui::OptionButton> optBase{this, "optBase", 2};
    ui::CommandButton cmdRefresh{this, "cmdRefresh"};
    ui::CheckBox chkAutoRefresh{this, "chkAutoRefresh"};
    ui::TimerControl tmrAutoRefresh{this, "tmrAutoRefresh", 60};

    // Clears and reprints the list, then fits the window's height to it.
    void RefreshFormVals();
    // n blanks at the print position: the register lines use a fixed-width font.
    QString pSpace(int n) const;
    // Frame metrics in twips: half the difference of window and client width, and the height above the
    // client area.
    int BorderSize() const { return borderSize_; }
    void setBorderSize(int twips) { borderSize_ = twips; }
    int TitleBarHeight() const { return titleBarHeight_; }
    void setTitleBarHeight(int twips) { titleBarHeight_ = twips; }
    void UpdateWindowMetrics();

    // What the window prints now, line by line (the first line is empty).
    const QStringList& printedLines() const { return lines_; }
    // Height of one printed line in pixels.
    int lineHeight() const;

    void cmbRegMap_Click();
    void optBase_Click(int index);
    void cmdRefresh_Click();
    void tmrAutoRefresh_Timer();

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    void fitHeight();

    int base_ = 0;
    int borderSize_ = 0;
    int titleBarHeight_ = 0;
    QStringList lines_;
    QPointer<RegisterLinesView> view_;
};
