#include "platform/os/sounds.h"

#include <cstdio>
#include <unistd.h>

namespace os {

namespace {

// Without the desktop's sound the bell of the terminal the program was started from is all there is.
class BellSoundService : public SoundService {
public:
    void playSystemSound(const QString& name) override
    {
        if (name.trimmed().isEmpty() || !hasSoundDevice())
            return;
        std::fputc('\a', stderr);
        std::fflush(stderr);
    }
    bool hasSoundDevice() const override { return isatty(STDERR_FILENO) == 1; }
};

BellSoundService& bellService()
{
    static BellSoundService service;
    return service;
}

SoundService*& installedService()
{
    static SoundService* service = nullptr;
    return service;
}

} // namespace

SoundService& soundService()
{
    SoundService* service = installedService();
    return service ? *service : bellService();
}

void setSoundService(SoundService* service)
{
    installedService() = service;
}

void playSystemSound(const QString& name)
{
    soundService().playSystemSound(name);
}

bool hasSoundDevice()
{
    return soundService().hasSoundDevice();
}

} // namespace os
