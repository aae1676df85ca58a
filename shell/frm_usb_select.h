#pragma once

// frmUSBSelect: the board selection dialog. It lists every board of the USB object's last enumeration with
// its device name, firmware revision and host-identifier state (free, used by this copy, or claimed by
// another running copy), and selects the chosen board through the USB object, which claims it with this
// copy's host identifier. OK acts, and is enabled, only while a row is highlighted.

#include "boardui/form_names.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <QString>
#include <cstdint>

class frmUSBSelect : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmUSBSelect;

    frmUSBSelect();

    // ---- controls ----
    ui::TimerControl tmrRefresh{this, "tmrRefresh", 1000, false};
    ui::Frame fraUSBList{this, "fraUSBList"};
    ui::ListBox lstUSBDevices{this, "lstUSBDevices"};
    ui::Label lblUSBDeviceName{this, "lblUSBDeviceName"};
    ui::CommandButton cmdCancel{this, "cmdCancel"};
    ui::CommandButton cmdOK{this, "cmdOK"};
    ui::CommandButton cmdRefresh{this, "cmdRefresh"};
    ui::ListView lvuUSBDevices{this, "lvuUSBDevices"};
    ui::Label lblAutoSize{this, "lblAutoSize"};
    ui::Label lblMessage{this, "lblMessage"};
    ui::Image imgIcon{this, "imgIcon"};

    // Shows the dialog modally with this caption and prompt and unloads it before returning. The result is
    // the device name of the board now selected when the user left by OK (or by the close box), and the
    // empty text when the user cancelled.
    QString ShowDialog(const QString& title, const QString& prompt);
    // Fills the device list from the USB object's last enumeration and highlights the selected board.
    void RefreshDeviceList();

    // The host-identifier column of a board: "NA" (firmware below 0.3), "ENA" (identifier unreadable),
    // "Unused", "Using" (this copy's identifier) or the other copy's identifier in decimal.
    static QString hostIdState(int16_t index, uint32_t thisCopy);

    // Waits `seconds`, letting queued events run unless `noEvents` is set.
    static void Delay(double seconds, bool noEvents = false);

    // ---- handlers ----
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdRefresh_Click();
    void lstUSBDevices_Click();
    void lvuUSBDevices_ItemClick(ui::ListItem* item);
    void tmrRefresh_Timer();

    bool cancelled() const { return cancelled_; }

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;

private:
    void sizeColumns();
    void updateOK();

    bool cancelled_ = false;
};
