#pragma once

// What the windows of silicon revision 3's own registers (ADC, GPIO, watchdog) share: a field table, they
// are enabled only on revision 3 and say so in their caption on older silicon, READ beeps without a board,
// LOAD blinks the window's indicator until the chip holds its bits, and a green lamp shows a flag bit.

#include "shell/register_window.h"
#include "shell/register_window_base.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>
#include <cstdint>

class QHBoxLayout;

namespace ui {
class Menu;
}

namespace rev3 {

class Window : public regwin::RegisterWindow {
public:
    void EnableForm(bool enable) { regwin::enableControls(*this, enable); }

protected:
    // `caption` on revision 3, `oldSiliconCaption` on older silicon.
    Window(const QString& name, const QString& caption, const QString& oldSiliconCaption);

    void Form_Activate() override;
    // LOAD of one register of the window, told on the window's indicator.
    void loadOwnRegister(int16_t addr, ui::CommandButton& button);

private:
    QString caption_;
    QString oldSiliconCaption_;
};

// True when the board's chip is silicon revision 1 or 2 (which lack these registers).
bool revisionOneOrTwo();
// Form_Activate: the controls enabled on revision 3 only, and `oldSiliconCaption` on older silicon.
void showSiliconState(ui::Form& form, const QString& caption, const QString& oldSiliconCaption);
// RefreshFormVals of a window whose controls also need the SXI data-port mode (CFR2 bit 31): the fields
// shown on revision 3, the controls enabled on revision 3 while that mode is set.
void refreshWhileSXI(ui::Form& form, const regwin::FieldTable& fields);
// READ: the system's question sound without a board, else the register read back from the chip.
void readOrBeep(int16_t addr);
// How these windows load a register: only while the board is connected, each followed by its I/O update
// under "Auto".
regwin::LoadOptions loadOptions();
// LOAD of one register on an indicator of its own: the button disabled meanwhile, then the indicator told
// how it went.
void loadRegister(int16_t addr, ui::CommandButton& button, regwin::LoadIndicator& indicator);
// A lamp lit (green) or dark from a flag bit.
void showGreenLamp(ui::Image& lamp, uint64_t lit);
// The button row under a window's bits: READ on the left, the load indicator (12 pixels square, keeping
// its place while hidden) and LOAD on the right.
QHBoxLayout* readLoadRow(ui::CommandButton& read, ui::Label& flash, ui::CommandButton& load);

} // namespace rev3
