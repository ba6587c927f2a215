// Sound and display settings and the chosen house: process-wide, in memory only.
#include "app/settings.h"

int32_t volume = 50;
bool soundMuted = false;
bool musicMuted = false;
bool sfxMuted = false;
int32_t resolutionIndex = 0;
bool fullscreenChosen = true;
uint8_t house = HOUSE_NOBLEMEN;
