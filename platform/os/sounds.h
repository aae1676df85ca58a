#pragma once

#include <QString>

namespace os {

// The named system sounds ("SystemQuestion", "SystemAsterisk", "SystemExclamation", ...). Playing never
// waits and never fails loudly. The default writes the terminal bell when standard error is a terminal and
// does nothing otherwise; the window layer may install one that beeps through the desktop; tests install a
// recorder (os_test_doubles.h).
class SoundService {
public:
    virtual ~SoundService() = default;
    virtual void playSystemSound(const QString& name) = 0;
    // Whether the machine has a sound output this service can use.
    virtual bool hasSoundDevice() const = 0;
};

SoundService& soundService();
void setSoundService(SoundService* service); // nullptr restores the default

void playSystemSound(const QString& name);
bool hasSoundDevice();

} // namespace os
