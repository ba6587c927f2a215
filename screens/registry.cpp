// The ten screens of the game registered as game states: a number and six
// callbacks each, in the order the game registers them. Depends on every
// screen and on the shared object callbacks.
#include "screens/registry.h"

#include "app/game_state.h"
#include "battle/level.h"
#include "objects/game_object.h"
#include "screens/house_select.h"
#include "screens/how_to_play.h"
#include "screens/logo_credits.h"
#include "screens/main_menu.h"
#include "screens/splash.h"
#include "screens/win_lose.h"

// Registers the ten states.
void RegisterGameStates() {
    AddGameState(GS_LEVEL1, Level1Load, Level1Init, Level1Update, Level1Draw, LevelFree,
                 Level1Unload);
    AddGameState(GS_MAIN_MENU, MainMenuLoad, MainMenuInit, MainMenuUpdate, MainMenuDraw,
                 FreeAllObjects, MainMenuUnload);
    AddGameState(GS_LOSE, LoseLoad, LoseInit, LoseUpdate, DrawAllObjects, FreeAllObjects,
                 LoseUnload);
    AddGameState(GS_WIN, WinLoad, WinInit, WinUpdate, DrawAllObjects, FreeAllObjects, WinUnload);
    AddGameState(GS_HOW_TO_PLAY, HowToPlayLoad, HowToPlayInit, HowToPlayUpdate, DrawAllObjects,
                 FreeAllObjects, HowToPlayUnload);
    AddGameState(GS_HOUSE_SELECT, HouseSelectLoad, HouseSelectInit, HouseSelectUpdate,
                 DrawAllObjects, FreeAllObjects, HouseSelectUnload);
    AddGameState(GS_LOGO_CREDITS, LogoCreditsLoad, LogoCreditsInit, LogoCreditsUpdate,
                 DrawAllObjects, FreeAllObjects, LogoCreditsUnload);
    AddGameState(GS_LEVEL2, Level2Load, Level2Init, Level2Update, Level2Draw, LevelFree,
                 Level2Unload);
    AddGameState(GS_LEVEL3, Level3Load, Level3Init, Level3Update, Level3Draw, LevelFree,
                 Level3Unload);
    AddGameState(GS_SPLASH, SplashLoad, SplashInit, SplashUpdate, DrawAllObjects, FreeAllObjects,
                 SplashUnload);
}
