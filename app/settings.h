// Sound and display settings shared by the main menu and the pause menu; kept
// in memory only, never saved.
#pragma once

#include <cstdint>

extern int32_t volume;  // music volume 0..100, starts at 50
extern bool soundMuted; // the speaker switch: mutes everything
extern bool musicMuted;
extern bool sfxMuted;
extern int32_t resolutionIndex; // row of DisplayModeTable chosen in the settings
extern bool fullscreenChosen;   // display mode last chosen (starts true)

// House chosen on the house selection: 0 Noblemen, 1 Workers, 2 Wisemen, 3 Warriors.
extern uint8_t house;
enum : uint8_t { HOUSE_NOBLEMEN = 0, HOUSE_WORKERS = 1, HOUSE_WISEMEN = 2, HOUSE_WARRIORS = 3 };

// The volume setting as a channel level, 0..1.
float VolumeLevel();
// The level a channel plays at: the volume while its switch is on and the
// window is active (not minimised, with the focus), else 0.
float AudibleLevel(bool switchedOn);
