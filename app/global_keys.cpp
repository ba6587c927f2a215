// The keys that work on every screen but the splash, the release of the menu
// music when level 1 begins, and the hand-over to the main menu's buttons.
// Depends on the state manager, input, window, settings and the main menu.
#include "app/global_keys.h"

#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "engine/platform/platform.h"
#include "screens/main_menu.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

bool menuMusicReleased = false;

// Screen keys in the order they are tested; the last one pressed wins.
static const struct {
    int key;
    int32_t state;
} SCREEN_KEYS[] = {{'S', GS_LEVEL2}, {'Q', GS_QUIT}, {'R', GS_RESTART}, {'M', GS_MAIN_MENU}};

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Runs the global keys once; called from each screen's Update.
void HandleGlobalInput() {
    for (const auto& screenKey : SCREEN_KEYS)
        if (IsKeyPressed(screenKey.key)) nextState = screenKey.state;

    // Held, not only pressed: Ctrl+Alt+Delete minimises, Ctrl+Alt+F4 quits.
    if (IsKeyHeld(VK_ALT_SLOT)) {
        if (IsKeyHeld(VK_DELETE) && IsKeyHeld(VK_CONTROL)) PlatformMinimizeWindow();
        if (IsKeyHeld(VK_F4) && IsKeyHeld(VK_CONTROL)) nextState = GS_QUIT;
    }

    bool spaceLeaves =
        currentState == GS_LOSE || currentState == GS_WIN || currentState == GS_HOW_TO_PLAY;
    if (spaceLeaves && IsKeyPressed(VK_SPACE)) nextState = GS_MAIN_MENU;

    // The menu's tracks go when a battle begins: level 1 on the normal road,
    // or level 2 or 3 reached straight from the menu with S, where they would
    // otherwise play on under the battle's own music.
    bool inBattle =
        currentState == GS_LEVEL1 || currentState == GS_LEVEL2 || currentState == GS_LEVEL3;
    if (inBattle && !menuMusicReleased) {
        ReleaseMenuMusic();
        menuMusicReleased = true;
    }

    // Both in one frame: windowed first, so full screen wins.
    if (IsKeyPressed('O')) {
        SetFullscreen(false);
        fullscreenChosen = false;
    }
    if (IsKeyPressed('P')) {
        SetFullscreen(true);
        fullscreenChosen = true;
    }

    if (currentState == GS_MAIN_MENU) MainMenuButtonStep();
}
