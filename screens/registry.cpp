// The ten screens of the game registered as game states: a number and six
// callbacks each, in the order the game registers them; the first screen
// with buttons loads the button click, which stays until the game quits. Depends on every screen,
// the shared object callbacks and the screen helpers.
#include "screens/registry.h"

#include "app/game_state.h"
#include "battle/level.h"
#include "objects/game_object.h"
#include "screens/house_select.h"
#include "screens/how_to_play.h"
#include "screens/logo_credits.h"
#include "screens/main_menu.h"
#include "screens/splash.h"
#include "screens/ui.h"
#include "screens/win_lose.h"

// A screen's Load, then the button click.
template <StateCallback Load> static void WithClick() {
    Load();
    LoadClickSound();
}

// A screen's Unload; the button click goes only with the game, so a click
// that changes the screen is heard through the change.
template <StateCallback Unload> static void WithoutClick() {
    Unload();
    if (nextState == GS_QUIT) ReleaseClickSound();
}

// Registers the ten states.
void RegisterGameStates() {
    AddGameState(GS_LEVEL1, WithClick<Level1Load>, Level1Init, Level1Update, Level1Draw, LevelFree,
                 WithoutClick<Level1Unload>);
    AddGameState(GS_MAIN_MENU, WithClick<MainMenuLoad>, MainMenuInit, MainMenuUpdate, MainMenuDraw,
                 FreeAllObjects, WithoutClick<MainMenuUnload>);
    AddGameState(GS_LOSE, WithClick<LoseLoad>, LoseInit, LoseUpdate, DrawAllObjects, FreeAllObjects,
                 WithoutClick<LoseUnload>);
    AddGameState(GS_WIN, WithClick<WinLoad>, WinInit, WinUpdate, DrawAllObjects, FreeAllObjects,
                 WithoutClick<WinUnload>);
    AddGameState(GS_HOW_TO_PLAY, WithClick<HowToPlayLoad>, HowToPlayInit, HowToPlayUpdate,
                 DrawAllObjects, FreeAllObjects, WithoutClick<HowToPlayUnload>);
    AddGameState(GS_HOUSE_SELECT, WithClick<HouseSelectLoad>, HouseSelectInit, HouseSelectUpdate,
                 DrawAllObjects, FreeAllObjects, WithoutClick<HouseSelectUnload>);
    AddGameState(GS_LOGO_CREDITS, WithClick<LogoCreditsLoad>, LogoCreditsInit, LogoCreditsUpdate,
                 DrawAllObjects, FreeAllObjects, WithoutClick<LogoCreditsUnload>);
    AddGameState(GS_LEVEL2, WithClick<Level2Load>, Level2Init, Level2Update, Level2Draw, LevelFree,
                 WithoutClick<Level2Unload>);
    AddGameState(GS_LEVEL3, WithClick<Level3Load>, Level3Init, Level3Update, Level3Draw, LevelFree,
                 WithoutClick<Level3Unload>);
    AddGameState(GS_SPLASH, SplashLoad, SplashInit, SplashUpdate, DrawAllObjects, FreeAllObjects,
                 SplashUnload);
}
