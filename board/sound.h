#pragma once

// modSound: the sound-device test and the named system sounds, played without waiting.

#include <QString>

// Whether the machine has a sound output; set once by InitSound at start-up.
extern bool gbSoundCard;

bool HasSoundCard();
// Stores HasSoundCard() in gbSoundCard and returns it.
bool InitSound();
// Plays a named system sound ("SystemQuestion", "SystemAsterisk", "SystemExclamation") without waiting,
// whether or not a sound device exists.
void PlaySoundAsync(const QString& soundName);
