// The battle's frame step (the Update callback of the three levels), in its
// fixed order: sound sync, opening curtain, cursor, pause menu and the K
// shortcut, end of battle and global keys, the world step while not paused,
// then the object update. Depends on every battle step, the HUD and the
// pause menu.
#include "battle/battle_step.h"

#include "app/global_keys.h"
#include "app/input.h"
#include "app/window.h"
#include "battle/battle_objects.h"
#include "battle/castle.h"
#include "battle/catapult.h"
#include "battle/economy.h"
#include "battle/enemy_commander.h"
#include "battle/hud.h"
#include "battle/lane_combat.h"
#include "engine/audio/sound.h"
#include "screens/pause_menu.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// The pause menu's steps with the K shortcut between them.
static void RunPauseSteps() {
    UpdatePauseOpen();
    RunWinShortcut();
    UpdatePauseMenu();
    UpdateSettingsPage();
    UpdateExitPage();
    UpdateQuitConfirm();
    UpdatePauseHowToPlay();
    UpdatePauseCredits();
}

// The field's play: commander, hover art, buying, fights, crossings,
// upgrades and catapult.
static void RunWorldStep() {
    Sprite* background = static_cast<Sprite*>(battle->background);
    if (BattleState::paused) {
        if (background) background->playing = 0;
        return;
    }
    if (battle->battleStarted) {
        RunEnemyDownLane();
        RunEnemyUpLane();
    }
    if (background) background->playing = 1;
    UpdateHudHover();
    RunBuyStep();
    RunEngagementScan();
    RunCrossingCheck();
    RunUpgradeStep();
    RunCatapultStep();
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// One battle frame.
void RunBattleFrame() {
    SyncBattleSound();
    RunOpeningCurtain();
    MoveToCursor(battle->cursor);
    RunPauseSteps();
    RunEndOfBattle();
    HandleGlobalInput();
    RunWorldStep();
    UpdateAllObjects();
}
