#pragma once

#include "platform/os/sounds.h"

namespace ui {

// The named system sounds as the desktop's beep (the window layer knows the application object, the os
// layer does not). The program installs it at start-up with installDesktopSounds().
class DesktopSoundService : public os::SoundService {
public:
    void playSystemSound(const QString& name) override;
    bool hasSoundDevice() const override { return true; }
};

void installDesktopSounds();

} // namespace ui
