// Shared helpers of the battle tests: one engine per test program, a level
// entered through the real state manager with a chosen house and seed, the
// process-wide battle values put back to their program-start values between
// tests, the click areas of the buy panel, and small object-list queries.
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
#include "objects/game_object.h"

namespace battle_test {

// Click areas of the buy panel (centres, design units).
struct Point {
    float x, y;
};
constexpr Point KNIGHT_UP = {-572.5f, 310};
constexpr Point KNIGHT_DOWN = {-572.5f, 258};
constexpr Point KNIGHT_UPGRADE = {-507.5f, 284};
constexpr Point SPEARMAN_UP = {-442.5f, 310};
constexpr Point SPEARMAN_DOWN = {-442.5f, 258};
constexpr Point SPEARMAN_UPGRADE = {-377.5f, 284};
constexpr Point HORSEMAN_UP = {-312.5f, 310};
constexpr Point HORSEMAN_DOWN = {-312.5f, 258};
constexpr Point HORSEMAN_UPGRADE = {-247, 284};
constexpr Point THIEF = {-560, -240};
constexpr Point CANNON = {-180, 285};
constexpr Point NOWHERE = {0, -330}; // over the field only

inline void Click(Point p) {
    ClickDesign(p.x, p.y);
}

// The records as they stood when the program started (commander timetables).
inline BattleState& StartRecord(int index) {
    static BattleState saved[LEVEL_COUNT] = {levelStates[0], levelStates[1], levelStates[2]};
    return saved[index];
}

// Puts every process-wide battle value back to its program-start value.
inline void ResetBattleProcessState() {
    for (int i = 0; i < LEVEL_COUNT; i++)
        StartRecord(i);
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
    for (int i = 0; i < LEVEL_COUNT; i++) {
        BattleState& record = levelStates[i];
        const BattleState& start = StartRecord(i);
        record.downWaveTimer = record.upWaveTimer = 0;
        record.downWaveInterval = start.downWaveInterval;
        record.upWaveInterval = start.upWaveInterval;
        record.downFollowUpChance = start.downFollowUpChance;
        record.upFollowUpChance = start.upFollowUpChance;
        record.baseFollowUpChance = start.baseFollowUpChance;
        record.incomeTimer = 0;
        record.catapultCooldown = 0;
    }
    volume = 50;
    soundMuted = musicMuted = sfxMuted = false;
    fullscreenChosen = false;
}

// Keeps the enemy commander from sending anyone in the current level.
inline void SilenceEnemy() {
    battle->downWaveInterval = 1e9f;
    battle->upWaveInterval = 1e9f;
}

// Keeps the income from paying for a long while (tests that count money).
inline void SuppressIncome() {
    battle->incomeTimer = -1e6f;
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

// One engine for the whole program; every test enters a level anew.
class BattleTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        for (int i = 0; i < LEVEL_COUNT; i++)
            StartRecord(i);
        StartTestEngine(false);
    }
    static void TearDownTestSuite() { StopTestEngine(); }
    void TearDown() override { LeaveGame(); }

    // Enters a level as `playerHouse` with a fixed seed; Load, Init and one frame run.
    void EnterLevel(int32_t state, uint8_t playerHouse = HOUSE_NOBLEMEN, unsigned seed = 12345) {
        ResetBattleProcessState();
        house = playerHouse;
        battleSeedOverride = seed;
        StartGame(state);
        RunFrames(1);
        ASSERT_EQ(currentState, state);
    }

    // Leaves the running game so that Free and Unload run.
    void LeaveGame() {
        if (!GameHasQuit()) {
            nextState = GS_QUIT;
            RunFrames(1);
        }
        MouseUp();
        StopAllSounds();
        ClearBattleEndFlags();
        BattleState::paused = false;
    }
};

} // namespace battle_test
