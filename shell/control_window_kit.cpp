#include "shell/control_window_kit.h"

#include "board/system_clock.h"

#include "platform/os/sounds.h"
#include "platform/ui/colors.h"
#include "platform/ui/control.h"

namespace controlkit {

std::optional<double> numberOf(const QString& text)
{
    return clockTextNumber(text);
}

void paint(std::initializer_list<ui::Control*> controls, bool applies,
           std::initializer_list<ui::Control*> labels)
{
    for (ui::Control* control : controls)
        control->setForeColor(applies ? ui::colors::vbWindowText : ui::colors::vbGrayText);
    for (ui::Control* label : labels)
        label->setForeColor(applies ? ui::colors::vbButtonText : ui::colors::vbGrayText);
}

void beep()
{
    os::playSystemSound(QStringLiteral("SystemDefault"));
}

void digitsOnly(int& keyAscii)
{
    if (keyAscii >= 32 && (keyAscii < '0' || keyAscii > '9'))
        keyAscii = 0;
}

} // namespace controlkit
