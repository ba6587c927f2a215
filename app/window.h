// The game window: its requested client size, windowed and full-screen modes,
// the table of display modes offered by the settings screens, and the two
// conventions every screen follows (hide the system cursor, silence music
// while the window is not active). Depends on the platform layer and the
// graphics device (world bounds).
#pragma once

#include <cstdint>

struct DisplayMode {
    float width, height;
};

extern int32_t windowWidth;
extern int32_t windowHeight;
extern bool isFullscreen;
extern const char* windowTitle;
// Five client sizes offered by the settings screens (the second is 1336 wide).
extern const DisplayMode DisplayModeTable[5];
enum { DISPLAY_MODE_COUNT = 5 };

// Opens the window at (100, 100) with a 1280 by 720 client area.
bool CreateGameWindow();
// Resizes the client area (nothing when the size is unchanged) and resets the world bounds.
void SetWindowResolution(int32_t width, int32_t height);
// Switches between full screen and the saved windowed placement.
void SetFullscreen(bool on);
// Leaves full screen if needed and applies row `index` of DisplayModeTable.
void ApplyDisplayMode(int index);
// Not minimised and holding the keyboard focus.
bool IsWindowActive();
// Asks the system to hide its cursor (every screen, every frame).
void HideSystemCursor();
