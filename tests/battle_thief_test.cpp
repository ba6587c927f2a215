// Thief and coins through the real level state: the thief costs 50, only one
// is out at a time, it walks 830 frames along the bottom edge and brings back
// the reward of its roll (checked at the table's boundaries); kill coins and
// pop-ups rise and vanish after 30 or 60 frames and freeze while paused.
#include "battle_helpers.h"

#include <cstdlib>

using namespace battle_test;

namespace {

class BattleThiefTest : public BattleTest {
  protected:
    void EnterQuietLevel() {
        EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
        SilenceEnemy();
        SuppressIncome();
    }
};

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

TEST_F(BattleThiefTest, ThiefCostsFiftyAndOnlyOneIsOutAtATime) {
    EnterQuietLevel();
    Click(THIEF);
    EXPECT_EQ(BattleState::money, 100);
    EXPECT_TRUE(BattleState::thiefOut);
    EXPECT_TRUE(battle->battleStarted);
    EXPECT_GT(battle->spawnCooldown, 1.9f);
    GameObject* thief = TheThief();
    ASSERT_TRUE(thief);
    EXPECT_EQ(thief->position[1], -275);
    EXPECT_EQ(thief->position[0], -390 + 2); // one unit in each of the two frames
    EXPECT_EQ(thief->scale[0], 35);
    EXPECT_EQ(thief->scale[1], 75);
    RunFrames(125);
    Click(THIEF); // enough money, no cooldown, but a thief is out
    EXPECT_EQ(ObjectsNamed("Allie").size(), 1u);
    EXPECT_EQ(BattleState::money, 100);
    // Troops can still be bought meanwhile.
    Click(KNIGHT_UP);
    EXPECT_EQ(BattleState::money, 70);
}

TEST_F(BattleThiefTest, ThiefWalks830FramesAndBringsMoneyBack) {
    EnterQuietLevel();
    Click(THIEF); // pressed in frame 1 of the walk
    int frames = 2;
    int32_t money = BattleState::money;
    while (BattleState::thiefOut && frames < 900)
        frames += RunFrames(1);
    EXPECT_EQ(frames, 830);
    EXPECT_FALSE(BattleState::thiefOut);
    EXPECT_TRUE(ObjectsNamed("Allie").empty());
    int32_t reward = BattleState::money - money;
    EXPECT_TRUE(reward == 40 || reward == 50 || reward == 100 || reward == 200) << reward;
    // Another thief may be bought now.
    RunFrames(1);
    Click(THIEF);
    EXPECT_TRUE(BattleState::thiefOut);
}

TEST_F(BattleThiefTest, RewardTableAtItsBoundaries) {
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
        battle->spawnCooldown = 0; // the buy cooldown is not what this test is about
        Click(THIEF);
        GameObject* thief = TheThief();
        ASSERT_TRUE(thief);
        thief->position[0] = 439; // the next step reaches 440
        unsigned seed = SeedForRoll(c.roll);
        ASSERT_NE(seed, 0u);
        srand(seed);
        int32_t money = BattleState::money;
        RunFrames(1);
        EXPECT_EQ(BattleState::money - money, c.reward) << "roll " << c.roll;
        std::vector<GameObject*> popups = ObjectsNamed(c.popup);
        ASSERT_EQ(popups.size(), 1u) << "roll " << c.roll;
        EXPECT_EQ(popups[0]->position[0], 440);
        EXPECT_EQ(popups[0]->position[1], -275 + 30 + 1); // risen once in its first frame
        EXPECT_EQ(popups[0]->scale[0], -40);
        RunFrames(60); // gone before the next case
        EXPECT_TRUE(ObjectsNamed(c.popup).empty());
    }
}

TEST_F(BattleThiefTest, PopupRisesOneUnitAndVanishesAfter60Frames) {
    EnterQuietLevel();
    Click(THIEF);
    TheThief()->position[0] = 439;
    RunFrames(1);
    GameObject* popup = nullptr;
    for (const char* name : {"Coin+40", "Coin+50", "Coin+100", "Coin+200"})
        if (!ObjectsNamed(name).empty()) popup = ObjectsNamed(name)[0];
    ASSERT_TRUE(popup);
    std::string name = popup->name;
    float y = popup->position[1];
    RunFrames(58); // 59 updates in all
    EXPECT_EQ(ObjectsNamed(name.c_str()).size(), 1u);
    EXPECT_FLOAT_EQ(popup->position[1], y + 58);
    RunFrames(1); // the 60th update destroys it
    EXPECT_TRUE(ObjectsNamed(name.c_str()).empty());
}

TEST_F(BattleThiefTest, KillCoinRisesThreeUnitsVanishesAfter30FramesAndFreezesWhilePaused) {
    EnterQuietLevel();
    Click(KNIGHT_DOWN);
    GameObject* knight = TroopsNamed("AllieDown")[0];
    GameObject* enemy = SpawnEnemyTroop(TROOP_SPEARMAN, false);
    enemy->position[0] = knight->position[0] + 70;
    enemy->health = 1;
    float enemyX = enemy->position[0];
    int frames = 0;
    while (ObjectsNamed("Coin").empty() && frames < 60)
        frames += RunFrames(1);
    std::vector<GameObject*> coins = ObjectsNamed("Coin");
    ASSERT_EQ(coins.size(), 1u);
    GameObject* coin = coins[0];
    EXPECT_EQ(coin->position[0], enemyX);
    EXPECT_EQ(coin->position[1], -100 + 30 + 3); // risen once in its first frame
    EXPECT_EQ(coin->scale[0], 40);
    RunFrames(10);
    EXPECT_EQ(coin->position[1], -100 + 30 + 33);
    // Paused: the coin stays where it is.
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(BattleState::paused);
    float y = coin->position[1];
    RunFrames(60);
    EXPECT_EQ(coin->position[1], y);
    EXPECT_EQ(ObjectsNamed("Coin").size(), 1u);
    // The thief freezes too.
    BattleState::paused = false;
}

TEST_F(BattleThiefTest, PausedThiefStandsStill) {
    EnterQuietLevel();
    Click(THIEF);
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(BattleState::paused);
    GameObject* thief = TheThief();
    float x = thief->position[0];
    RunFrames(30);
    EXPECT_EQ(thief->position[0], x);
    EXPECT_EQ(static_cast<Sprite*>(thief)->playing, 0);
}
