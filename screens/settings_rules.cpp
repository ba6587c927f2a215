// The shared stepping rules of the sound and display settings (volume, display
// mode row, full screen, music and effects switches). Depends on the settings
// values (app/settings.h) and the window's display modes (app/window.h).
#include "screens/settings_rules.h"

#include <cstdio>

#include "app/settings.h"
#include "app/window.h"
#include "objects/game_object.h"

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Volume − 10, never below 0.
void StepVolumeDown() {
    volume -= 10;
    if (volume < 1) volume = 0;
}

// Volume + 10, never above 100.
void StepVolumeUp() {
    volume += 10;
    if (volume >= 100) volume = 100;
}

// Next or previous display-mode row, applied windowed.
void StepResolution(int direction) {
    int index = resolutionIndex;
    // An index left out of range by someone else counts as row 0.
    if (index < 0 || index >= DISPLAY_MODE_COUNT) index = 0;
    index += direction < 0 ? -1 : 1;
    if (index < 0) index = DISPLAY_MODE_COUNT - 1;
    if (index >= DISPLAY_MODE_COUNT) index = 0;
    resolutionIndex = index;
    ApplyDisplayMode(resolutionIndex);
}

// Full screen on (showing row 0) or off.
void ToggleFullscreenSetting() {
    if (!isFullscreen) {
        SetFullscreen(true);
        resolutionIndex = 0;
    } else {
        SetFullscreen(false);
    }
}

// Flips the music switch.
void ToggleMusicMuted() {
    musicMuted = !musicMuted;
}

// Flips the effects switch.
void ToggleSfxMuted() {
    sfxMuted = !sfxMuted;
}

// Text of the display-mode row shown on the settings pages.
void FormatResolutionText(char* buffer, int size) {
    if (!buffer || size <= 0) return;
    int index = resolutionIndex;
    if (index < 0 || index >= DISPLAY_MODE_COUNT) index = 0;
    const DisplayMode& mode = DisplayModeTable[index];
    snprintf(buffer, static_cast<size_t>(size), "%.f x %.f", mode.width, mode.height);
}

// Red tint on the hovered arrows.
static const uint32_t ARROW_HOVER_TINT = 0xFFFF0000;

// Tints the hovered arrows and reports which are hovered.
void TintHoveredArrows(GameObject* const arrows[SETTINGS_ARROW_COUNT],
                       bool over[SETTINGS_ARROW_COUNT]) {
    for (int i = 0; i < SETTINGS_ARROW_COUNT; ++i) {
        GameObject* arrow = arrows[i];
        over[i] = arrow && IsCursorOver(arrow);
        if (!arrow) continue;
        arrow->useTint = over[i] ? 1 : 0;
        if (over[i]) arrow->tintColor = ARROW_HOVER_TINT;
    }
}

// Steps the setting an arrow stands for.
bool ApplySettingsArrow(int arrow) {
    switch (arrow) {
    case ARROW_RESOLUTION_LEFT:
    case ARROW_RESOLUTION_RIGHT:
        StepResolution(arrow == ARROW_RESOLUTION_LEFT ? -1 : 1);
        return true;
    case ARROW_FULLSCREEN_LEFT:
    case ARROW_FULLSCREEN_RIGHT:
        ToggleFullscreenSetting();
        return false;
    case ARROW_VOLUME_LEFT:
        StepVolumeDown();
        return false;
    case ARROW_VOLUME_RIGHT:
        StepVolumeUp();
        return false;
    case ARROW_MUSIC_LEFT:
    case ARROW_MUSIC_RIGHT:
        ToggleMusicMuted();
        return false;
    default:
        return false;
    }
}
