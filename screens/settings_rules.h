// The rules by which the settings pages step the shared sound and display
// settings: volume in steps of 10 between 0 and 100, the display-mode row with
// wrap-around, the full-screen switch and the two mute switches. The battle's
// pause menu and the main menu's settings panel both call these, so the two
// pages can never drift apart. Depends on app/settings.h and app/window.h.
#pragma once

struct GameObject;

// The eight arrows of a settings page, in the order both pages make them.
enum SettingsArrow {
    ARROW_RESOLUTION_LEFT,
    ARROW_RESOLUTION_RIGHT,
    ARROW_FULLSCREEN_LEFT,
    ARROW_FULLSCREEN_RIGHT,
    ARROW_VOLUME_LEFT,
    ARROW_VOLUME_RIGHT,
    ARROW_MUSIC_LEFT,
    ARROW_MUSIC_RIGHT,
    SETTINGS_ARROW_COUNT
};

// Volume − 10; a result below 1 becomes 0.
void StepVolumeDown();
// Volume + 10; a result of 100 or more becomes 100.
void StepVolumeUp();
// Moves resolutionIndex by `direction` (−1 or +1) with wrap-around over the
// display-mode table, leaves full screen if needed and applies the new row's
// client size (truncated to whole pixels).
void StepResolution(int direction);
// Windowed: goes full screen and shows row 0. Full screen: back to windowed
// (the row shown stays as it is).
void ToggleFullscreenSetting();
// Flips musicMuted.
void ToggleMusicMuted();
// Flips sfxMuted.
void ToggleSfxMuted();
// "%.f x %.f" of the row resolutionIndex shows (not the real window size),
// into `buffer` of `size` bytes; cut short rather than overrun.
void FormatResolutionText(char* buffer, int size);
// Tints the hovered arrows red (the others untinted); `over` gets each one's
// hover state. Null arrows are skipped.
void TintHoveredArrows(GameObject* const arrows[SETTINGS_ARROW_COUNT],
                       bool over[SETTINGS_ARROW_COUNT]);
// What a click on an arrow does. True when it resized the window, so the page
// can keep the cursor on the arrow for the rest of the frame.
bool ApplySettingsArrow(int arrow);
