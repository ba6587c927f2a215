// Shared helpers of the battle tests: one engine per test program, a level
// entered through the real state manager with a chosen house and seed, the
// process-wide battle values put back to their program-start values between
// tests, and small object-list queries.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "battle/battle_objects.h"
#include "battle/battle_state.h"
#include "engine/audio/sound.h"
#include "engine/graphics/texture.h"
#include "harness/harness.h"
#include "harness/screen_helpers.h"
#include "objects/game_object.h"

namespace battle_test {

using namespace screen_test; // Point, Click, the buy panel's click areas

// The records as they stood when the program started (commander timetables).
inline BattleState& StartRecord(int index) {
    static BattleState saved[LEVEL_COUNT] = {levelStates[0], levelStates[1], levelStates[2]};
    return saved[index];
}

// Puts every process-wide battle value back to its program-start value.
inline void ResetBattleProcessState() {
    BattleState::money = 150;
    BattleState::knightTier = BattleState::spearmanTier = BattleState::horsemanTier = 0;
    BattleState::knightUpgradePrice = BattleState::spearmanUpgradePrice =
        BattleState::horsemanUpgradePrice = 100;
    BattleState::castleHealthBonus = BattleState::damageBonus = 0;
    BattleState::paused = BattleState::thiefOut = false;
    BattleState::battleLost = BattleState::battleWon = false;
    BattleState::playerHoldsBanner = BattleState::enemyHoldsBanner = false;
    BattleState::downExchangeTimer = BattleState::upExchangeTimer = 60;
    BattleState::downLaneClear = BattleState::upLaneClear = true;
    BattleState::downDustShown = BattleState::upDustShown = false;
    for (int i = 0; i < LEVEL_COUNT; i++)
        levelStates[i] = StartRecord(i); // timetables, timers, cooldowns, as at the start
    volume = 50;
    soundMuted = musicMuted = sfxMuted = false;
    fullscreenChosen = false;
}

// Keeps the enemy commander from sending anyone in the current level.
inline void SilenceEnemy() {
    battle->downWaveInterval = 1e9f;
    battle->upWaveInterval = 1e9f;
}

// Live troops of a name ("AllieUp", ...) whose typeName is a troop type.
inline std::vector<GameObject*> TroopsNamed(const char* name) {
    std::vector<GameObject*> found;
    for (GameObject* object : ObjectsNamed(name))
        if (TroopTypeOfName(object->typeName) >= 0) found.push_back(object);
    return found;
}

// The live castle of a side ("AllieDown" or "EnemyDown"), or null.
inline GameObject* CastleNamed(const char* name) {
    for (GameObject* object : ObjectsNamed(name))
        if (object->typeName == "Castle") return object;
    return nullptr;
}

// True while the object is in the list and alive.
inline bool IsAlive(GameObject* object) {
    for (GameObject* o : objectList)
        if (o == object) return o->alive != 0;
    return false;
}

inline bool ScrollOpened() {
    return battle && battle->pauseScroll && battle->pauseScroll->ended;
}
// Pauses with Escape and waits until the scroll has unrolled and its rows work.
inline void OpenPauseScroll() {
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(BattleState::paused);
    RunFramesUntil(ScrollOpened, 600);
    ASSERT_TRUE(ScrollOpened());
}

// One engine for the whole program; every test enters a level anew.
class BattleTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        StartRecord(0);
        StartTestEngine(false);
    }
    static void TearDownTestSuite() { StopTestEngine(); }
    void TearDown() override { LeaveGame(); }

    // Enters a level as `playerHouse` with a fixed seed; Load, Init and one frame run.
    void EnterLevel(int32_t state, uint8_t playerHouse = HOUSE_NOBLEMEN, unsigned seed = 12345) {
        ResetBattleProcessState();
        resolutionIndex = 0;
        house = playerHouse;
        battleSeedOverride = seed;
        StartGame(state);
        RunFrames(1);
        ASSERT_EQ(currentState, state);
    }
    // Level 1 (Workers: no damage, income or discount bonus), enemy silent, no income.
    void EnterQuietLevel(uint8_t playerHouse = HOUSE_WORKERS) {
        EnterLevel(GS_LEVEL1, playerHouse);
        SilenceEnemy();
        battle->incomeTimer = -1e6f; // no income for a long while
    }
    // Enters a level with the cursor over the field and waits until the HUD prints.
    void EnterPlaying(int32_t state, uint8_t playerHouse = HOUSE_NOBLEMEN) {
        EnterLevel(state, playerHouse);
        Hover(FIELD);
        RunFramesUntil([] { return battle->introWallGone; }, 200);
        ASSERT_TRUE(battle->introWallGone);
    }
};

} // namespace battle_test
