// Thief and coins in level 1: the thief costs 50, one is out at a time, it
// walks 830 frames and brings back the reward of its roll; kill coins and
// pop-ups rise and vanish after 30 or 60 frames.
#include "battle_helpers.h"

#include <cstdlib>

using namespace battle_test;

namespace {

class BattleThiefTest : public BattleTest {};

// A seed whose first roll rand() % 100 + 1 is `roll`.
unsigned SeedForRoll(int roll) {
    for (unsigned seed = 1; seed < 1000000; seed++) {
        srand(seed);
        if (rand() % 100 + 1 == roll) return seed;
    }
    return 0;
}

GameObject* TheThief() {
    std::vector<GameObject*> thieves = ObjectsNamed("Allie");
    return thieves.empty() ? nullptr : thieves[0];
}

} // namespace

TEST_F(BattleThiefTest, ThiefCostsFiftyOnlyOneIsOutAndItWalks830Frames) {
    EnterQuietLevel();
    Click(THIEF); // pressed in frame 1 of the walk
    EXPECT_EQ(BattleState::money, 100);
    EXPECT_TRUE(BattleState::thiefOut);
    EXPECT_TRUE(battle->battleStarted);
    ASSERT_TRUE(TheThief());
    RunFrames(125);
    Click(THIEF); // enough money, no cooldown, but a thief is out
    EXPECT_EQ(ObjectsNamed("Allie").size(), 1u);
    EXPECT_EQ(BattleState::money, 100);
    Click(KNIGHT_UP); // troops can still be bought meanwhile
    EXPECT_EQ(BattleState::money, 70);
    int32_t money = BattleState::money;
    int frames = 2 + 125 + 4 + RunFramesUntil([] { return !BattleState::thiefOut; }, 900);
    EXPECT_EQ(frames, 830);
    EXPECT_TRUE(ObjectsNamed("Allie").empty());
    int32_t reward = BattleState::money - money;
    EXPECT_TRUE(reward == 40 || reward == 50 || reward == 100 || reward == 200) << reward;
    RunFrames(1);
    Click(THIEF); // another thief may be bought now
    EXPECT_TRUE(BattleState::thiefOut);
}

TEST_F(BattleThiefTest, RewardBandsAtTheirBoundariesAndThePopupsLife) {
    struct Case {
        int roll;
        const char* popup;
        int32_t reward;
    } cases[] = {{1, "Coin+100", 100},  {70, "Coin+100", 100}, {71, "Coin+50", 50},
                 {90, "Coin+50", 50},   {91, "Coin+40", 40},   {97, "Coin+40", 40},
                 {98, "Coin+200", 200}, {100, "Coin+200", 200}};
    EnterQuietLevel();
    BattleState::money = 1500; // the thief pays above 1000 as well
    for (const Case& c : cases) {
        SCOPED_TRACE(c.roll);
        RunFrames(125); // past the buy cooldown
        Click(THIEF);
        ASSERT_TRUE(TheThief());
        TheThief()->position[0] = 439; // the next step reaches 440
        unsigned seed = SeedForRoll(c.roll);
        ASSERT_NE(seed, 0u);
        srand(seed);
        int32_t money = BattleState::money;
        RunFrames(1);
        EXPECT_EQ(BattleState::money - money, c.reward);
        std::vector<GameObject*> popups = ObjectsNamed(c.popup);
        ASSERT_EQ(popups.size(), 1u);
        RunFrames(58); // 59 updates in all: one unit each
        ASSERT_EQ(ObjectsNamed(c.popup).size(), 1u);
        RunFrames(1); // the 60th update destroys it
        EXPECT_TRUE(ObjectsNamed(c.popup).empty());
    }
}

TEST_F(BattleThiefTest, AKillCoinRisesThreeUnitsAFrameAndVanishesAfter30) {
    EnterQuietLevel();
    Click(KNIGHT_DOWN);
    GameObject* enemy = SpawnEnemyTroop(TROOP_SPEARMAN, false);
    enemy->position[0] = TroopsNamed("AllieDown")[0]->position[0] + 70;
    enemy->health = 1;
    float enemyX = enemy->position[0];
    RunFramesUntil([] { return !ObjectsNamed("Coin").empty(); }, 60);
    GameObject* coin = ObjectsNamed("Coin")[0];
    EXPECT_EQ(coin->position[0], enemyX);
    float lastY = coin->position[1];
    int updates = 1;
    while (IsAlive(coin) && updates < 100) {
        lastY = coin->position[1];
        RunFrames(1);
        updates++;
    }
    EXPECT_EQ(updates, 30);
    EXPECT_EQ(lastY, -100 + 30 + 3 * 29);
}
