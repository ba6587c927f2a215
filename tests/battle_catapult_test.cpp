// Catapult and rocks in level 1: unlocking, the cooldowns, clicks silent when idle, rocks
// striking or vanishing silently over a fallen castle, the cooldown across a restart.
#include "battle_helpers.h"

#include <algorithm>

#include "battle/battle_cues.h"
#include "screens/ui.h"

using namespace battle_test;

namespace {

class BattleCatapultTest : public BattleTest {};

bool CatapultReady() {
    return battle->catapultCooldown <= 0;
}

} // namespace

TEST_F(BattleCatapultTest, ThreeHundredUnlocksItFirstRockTenSecondsLaterThenThirtyApart) {
    EnterQuietLevel();
    BattleState::money = 299;
    const EffectCue& click = ClickCueRecord();
    int clicks = click.started;
    Click(CANNON); // locked: does nothing and makes no sound
    EXPECT_EQ(click.started, clicks);
    EXPECT_EQ(battle->catapultState, 0);
    EXPECT_EQ(BattleState::money, 299);
    EXPECT_TRUE(ObjectsNamed("Catapult").empty());
    LeaveGame();
    EnterQuietLevel();
    BattleState::money = 300;
    Click(CANNON); // pressed in frame 1
    EXPECT_EQ(click.started, ++clicks);
    EXPECT_EQ(battle->catapultState, 1);
    EXPECT_EQ(BattleState::money, 0);
    EXPECT_EQ(battle->lockPicture->visible, 0);
    EXPECT_EQ(ObjectsNamed("Catapult").size(), 1u);
    EXPECT_FALSE(battle->battleStarted); // the catapult does not start the battle
    int frames = 2;
    while (frames + 62 <= 596) {
        frames += RunFrames(60);
        Click(CANNON); // clicks during the cooldown do nothing, silently
        frames += 2;
        EXPECT_TRUE(ObjectsNamed("Rock").empty()) << "frame " << frames;
        EXPECT_EQ(click.started, clicks) << "frame " << frames;
    }
    frames += RunFramesUntil(CatapultReady, 100);
    EXPECT_NEAR(frames, 600, 2);
    Click(CANNON);
    EXPECT_EQ(ObjectsNamed("Rock").size(), 1u);
    EXPECT_EQ(click.started, clicks + 1);
    EXPECT_NEAR(battle->catapultCooldown, 30 - 2.0f / 60, 0.01f);
    // The rock flies its arc for 122 frames and takes 30 off the enemy castle.
    GameObject* rock = ObjectsNamed("Rock")[0];
    GameObject* castle = CastleNamed("EnemyDown");
    float top = rock->position[1];
    frames = 2;
    while (!ObjectsNamed("Rock").empty() && frames < 200) {
        top = std::max(top, rock->position[1]);
        frames += RunFrames(1);
        if (frames == 62) Click(CANNON); // still cooling down: no second rock
    }
    EXPECT_NEAR(frames, 122, 2);
    EXPECT_EQ(top, 520);
    EXPECT_EQ(castle->health, 270);
    EXPECT_EQ(ObjectsNamed("Rock").size(), 0u);
}

TEST_F(BattleCatapultTest, ARockOverAFallenCastleVanishes) {
    EnterQuietLevel();
    BattleState::money = 300;
    Click(CANNON);
    RunFramesUntil(CatapultReady, 700);
    Click(CANNON);
    // The enemy castle falls to a troop while the rock flies.
    CastleNamed("EnemyDown")->health = 1;
    SpawnPlayerTroop(TROOP_KNIGHT, false)->position[0] = 560;
    RunFrames(40);
    EXPECT_EQ(CastleNamed("EnemyDown"), nullptr);
    EXPECT_EQ(ObjectsNamed("Rock").size(), 1u);
    const int impacts = BattleCueRecord(CUE_ROCK_IMPACT).started;
    RunFrames(85);
    EXPECT_TRUE(ObjectsNamed("Rock").empty());
    EXPECT_EQ(BattleCueRecord(CUE_ROCK_IMPACT).started, impacts) << "it landed on nothing";
}

TEST_F(BattleCatapultTest, TheCooldownSurvivesARestart) {
    EnterQuietLevel();
    BattleState::money = 300;
    Click(CANNON);
    RunFrames(60);
    TapKey('R');
    float cooldown = battle->catapultCooldown;
    EXPECT_EQ(battle->catapultState, 0);
    EXPECT_EQ(battle->lockPicture->visible, 1);
    EXPECT_GT(cooldown, 8.5f);
    RunFrames(60);
    EXPECT_EQ(battle->catapultCooldown, cooldown); // kept, and not counting while locked
    BattleState::money = 300;                      // bought again: the cooldown starts at 10 anew
    Click(CANNON);
    EXPECT_NEAR(battle->catapultCooldown, 10 - 2.0f / 60, 0.01f);
}
