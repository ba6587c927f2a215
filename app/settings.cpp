// Sound and display settings and the chosen house: process-wide, in memory only.
#include "app/settings.h"

#include "app/window.h"

int32_t volume = 50;
bool soundMuted = false;
bool musicMuted = false;
bool sfxMuted = false;
int32_t resolutionIndex = 0;
bool fullscreenChosen = true;
uint8_t house = HOUSE_NOBLEMEN;

// The volume setting as a channel level.
float VolumeLevel() {
    float level = static_cast<float>(volume) / 100.0f;
    return level < 0 ? 0 : (level > 1 ? 1 : level);
}

// The volume while the sound is switched on and the window is active.
float AudibleLevel(bool switchedOn) {
    return switchedOn && IsWindowActive() ? VolumeLevel() : 0.0f;
}
