#include "board/sound.h"

#include "platform/os/sounds.h"

bool gbSoundCard = false;

bool HasSoundCard()
{
    return os::hasSoundDevice();
}

bool InitSound()
{
    gbSoundCard = HasSoundCard();
    return gbSoundCard;
}

void PlaySoundAsync(const QString& soundName)
{
    os::playSystemSound(soundName);
}
