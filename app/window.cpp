// The game window: requested client size, windowed and full-screen modes with
// the saved windowed placement, the display-mode table, the window-active test
// and hiding the system cursor. Depends on the platform layer and the
// graphics device (world bounds).
#include "app/window.h"

#include "engine/graphics/device.h"
#include "engine/platform/platform.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

int32_t windowWidth = 1280;
int32_t windowHeight = 720;
bool isFullscreen = false;
const char* windowTitle = "Morrow The Game";
const DisplayMode DisplayModeTable[5] = {
    {1920, 1080}, {1336, 768}, {1280, 720}, {1600, 900}, {960, 540}};

// Windowed placement saved when full screen is entered.
static int savedLeft = 800, savedTop = 600;
static int32_t savedWidth = 800, savedHeight = 600;

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Opens the window at (100, 100) with a 1280 by 720 client area (the windowed
// placement that O returns to from the starting full screen).
bool CreateGameWindow() {
    return PlatformCreateWindow(windowTitle, 100, 100, windowWidth, windowHeight);
}

// Resizes the client area and resets the world bounds; nothing when unchanged.
void SetWindowResolution(int32_t width, int32_t height) {
    if (width == windowWidth && height == windowHeight) return;
    windowWidth = width;
    windowHeight = height;
    PlatformSetClientSize(width, height);
    SetWorldBoundsFromClient();
}

// Switches between full screen (borderless at the screen's size) and windowed.
void SetFullscreen(bool on) {
    if (on == isFullscreen) return;
    isFullscreen = on;
    int screenWidth = 0, screenHeight = 0;
    PlatformGetScreenSize(&screenWidth, &screenHeight);
    int left = 0, top = 0;
    if (on) {
        savedWidth = windowWidth;
        savedHeight = windowHeight;
        PlatformGetWindowPosition(&savedLeft, &savedTop);
        SetWindowResolution(screenWidth, screenHeight);
    } else {
        SetWindowResolution(savedWidth, savedHeight);
        left = savedLeft;
        top = savedTop;
    }
    PlatformSetBorderless(on);
    PlatformSetWindowPosition(left, top);
}

// Applies a row of the display-mode table, leaving full screen first.
void ApplyDisplayMode(int index) {
    if (index < 0 || index >= DISPLAY_MODE_COUNT) return;
    if (isFullscreen) SetFullscreen(false);
    SetWindowResolution((int32_t)DisplayModeTable[index].width,
                        (int32_t)DisplayModeTable[index].height);
}

// Not minimised and holding the keyboard focus.
bool IsWindowActive() {
    return PlatformIsWindowActive();
}

// Hides the system cursor; the screens draw their own.
void HideSystemCursor() {
    PlatformHideCursor();
}
