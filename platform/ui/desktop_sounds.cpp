#include "platform/ui/desktop_sounds.h"

#include <QApplication>

namespace ui {

void DesktopSoundService::playSystemSound(const QString& name)
{
    if (!name.isEmpty())
        QApplication::beep();
}

void installDesktopSounds()
{
    static DesktopSoundService service;
    os::setSoundService(&service);
}

} // namespace ui
