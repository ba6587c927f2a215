// Catapult and rocks in level 1: unlocking, the cooldowns, rocks striking or
// vanishing over a fallen castle, pausing, and the cooldown across a restart.
#include "battle_helpers.h"

#include <algorithm>

using namespace battle_test;

namespace {

class BattleCatapultTest : public BattleTest {
  protected:
    // Enters a quiet level and buys the catapult.
    void EnterUnlocked() {
        EnterQuietLevel();
        BattleState::money = 300;
        Click(CANNON);
        ASSERT_EQ(battle->catapultState, 1);
    }
    // Fires at once, whatever the cooldown.
    void Fire() {
        battle->catapultCooldown = 0;
        Click(CANNON);
    }
};

} // namespace

TEST_F(BattleCatapultTest, ThreeHundredUnlocksTheCatapult) {
    EnterQuietLevel();
    ASSERT_TRUE(battle->lockPicture);
    EXPECT_EQ(battle->lockPicture->visible, 1);
    BattleState::money = 299;
    Click(CANNON);
    EXPECT_EQ(battle->catapultState, 0);
    EXPECT_EQ(BattleState::money, 299);
    EXPECT_TRUE(ObjectsNamed("Catapult").empty());
    BattleState::money = 300;
    Click(CANNON);
    EXPECT_EQ(battle->catapultState, 1);
    EXPECT_EQ(BattleState::money, 0);
    EXPECT_EQ(battle->lockPicture->visible, 0);
    std::vector<GameObject*> catapult = ObjectsNamed("Catapult");
    ASSERT_EQ(catapult.size(), 1u);
    EXPECT_EQ(catapult[0]->position[0], -620);
    EXPECT_EQ(catapult[0]->scale[0], -180);
    EXPECT_NEAR(battle->catapultCooldown, 10 - 2.0f / 60, 0.01f);
    EXPECT_FALSE(battle->battleStarted); // the catapult does not start the battle
}

TEST_F(BattleCatapultTest, FirstRockTenSecondsAfterThePurchaseThenThirtyApart) {
    EnterUnlocked(); // pressed in frame 1
    int frames = 2;
    while (frames + 62 <= 596) {
        frames += RunFrames(60);
        Click(CANNON); // clicks during the cooldown do nothing
        frames += 2;
        EXPECT_TRUE(ObjectsNamed("Rock").empty()) << "frame " << frames;
    }
    frames += RunFramesUntil([] { return battle->catapultCooldown <= 0; }, 100);
    EXPECT_NEAR(frames, 600, 2);
    EXPECT_EQ(battle->catapultCooldown, 0);
    Click(CANNON);
    EXPECT_EQ(ObjectsNamed("Rock").size(), 1u);
    EXPECT_NEAR(battle->catapultCooldown, 30 - 2.0f / 60, 0.01f);
    RunFrames(60);
    EXPECT_NEAR(battle->catapultCooldown, 29 - 2.0f / 60, 0.01f);
    Click(CANNON);
    EXPECT_EQ(ObjectsNamed("Rock").size(), 1u);
}

TEST_F(BattleCatapultTest, RocksFlyTheirArcAndTenBringDownAFullCastle) {
    EnterUnlocked();
    Fire(); // thrown in the press frame, flew one step in it and one after
    GameObject* rock = ObjectsNamed("Rock")[0];
    EXPECT_EQ(rock->position[0], -600 + 20);
    EXPECT_EQ(rock->position[1], -80 + 20);
    float top = rock->position[1];
    int frames = 2;
    GameObject* castle = CastleNamed("EnemyDown");
    while (!ObjectsNamed("Rock").empty() && frames < 200) {
        top = std::max(top, rock->position[1]);
        frames += RunFrames(1);
    }
    EXPECT_EQ(frames, 122);
    EXPECT_EQ(top, 520);
    EXPECT_EQ(castle->health, 270);
    EXPECT_FLOAT_EQ(castle->healthBarFill->scale[0], 270.0f / 300 * 70);
    for (int i = 0; i < 9; i++)
        Fire();
    EXPECT_EQ(ObjectsNamed("Rock").size(), 9u);
    RunFrames(125);
    EXPECT_EQ(castle->health, 0);
    EXPECT_TRUE(BattleState::battleWon);
}

TEST_F(BattleCatapultTest, ARockOverAFallenCastleVanishes) {
    EnterUnlocked();
    Fire();
    // The enemy castle falls to a troop while the rock flies.
    CastleNamed("EnemyDown")->health = 1;
    SpawnPlayerTroop(TROOP_KNIGHT, false)->position[0] = 560;
    RunFrames(40);
    EXPECT_EQ(CastleNamed("EnemyDown"), nullptr);
    EXPECT_EQ(ObjectsNamed("Rock").size(), 1u);
    RunFrames(85);
    EXPECT_TRUE(ObjectsNamed("Rock").empty());
}

TEST_F(BattleCatapultTest, PauseFreezesRocksAndTheCooldown) {
    EnterUnlocked();
    Fire();
    RunFrames(10);
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(BattleState::paused);
    GameObject* rock = ObjectsNamed("Rock")[0];
    float x = rock->position[0], y = rock->position[1];
    float cooldown = battle->catapultCooldown;
    RunFrames(60);
    EXPECT_EQ(rock->position[0], x);
    EXPECT_EQ(rock->position[1], y);
    EXPECT_EQ(battle->catapultCooldown, cooldown);
    EXPECT_EQ(CastleNamed("EnemyDown")->health, 300);
}

TEST_F(BattleCatapultTest, TheCooldownSurvivesARestart) {
    EnterUnlocked();
    RunFrames(60);
    nextState = GS_RESTART;
    RunFrames(1);
    float cooldown = battle->catapultCooldown;
    RunFrames(1); // Init and a frame of the restarted level
    EXPECT_EQ(battle->catapultState, 0);
    EXPECT_EQ(battle->lockPicture->visible, 1);
    EXPECT_EQ(battle->catapultCooldown, cooldown); // kept, and not counting while locked
    EXPECT_GT(cooldown, 8.5f);
    RunFrames(60);
    EXPECT_EQ(battle->catapultCooldown, cooldown);
    BattleState::money = 300; // bought again: the cooldown starts at 10 anew
    Click(CANNON);
    EXPECT_NEAR(battle->catapultCooldown, 10 - 2.0f / 60, 0.01f);
}
