// Battle economy driven by clicks on level 1's buy panel: prices, the shared
// buy cooldown, income and its cap, kill rewards, and the upgrade ladder with
// the Wisemen's discount.
#include "battle_helpers.h"

using namespace battle_test;

namespace {

class BattleEconomyTest : public BattleTest {};

} // namespace

TEST_F(BattleEconomyTest, ATroopCostsThirtyAndBlocksEveryPurchaseForTwoSeconds) {
    EnterQuietLevel();
    BattleState::money = 480;
    Click(HORSEMAN_UP); // pressed in frame P
    EXPECT_EQ(BattleState::money, 450);
    ASSERT_EQ(TroopsNamed("AllieUp").size(), 1u);
    EXPECT_EQ(TroopsNamed("AllieUp")[0]->typeName, "Horseman");
    EXPECT_EQ(TroopsNamed("AllieUp")[0]->health, 100);
    EXPECT_TRUE(battle->battleStarted);
    // During the cooldown every spawner and the thief area only play the no-money click.
    Channel* const* click = &battle->effectChannels[EFFECT_NO_MONEY];
    bool clickSoundLoaded = battleAssets.effects[EFFECT_NO_MONEY] != nullptr;
    for (Point p :
         {KNIGHT_UP, KNIGHT_DOWN, SPEARMAN_UP, SPEARMAN_DOWN, HORSEMAN_UP, HORSEMAN_DOWN, THIEF})
        Click(p);
    EXPECT_EQ(BattleState::money, 450);
    EXPECT_EQ(TroopsNamed("AllieUp").size(), 1u);
    EXPECT_TRUE(TroopsNamed("AllieDown").empty());
    EXPECT_FALSE(BattleState::thiefOut);
    EXPECT_TRUE(!clickSoundLoaded || (*click && !(*click)->paused)); // the click was played
    // Upgrades and the catapult still work during the cooldown.
    Click(KNIGHT_UPGRADE);
    EXPECT_EQ(BattleState::knightTier, 1);
    Click(CANNON);
    EXPECT_EQ(battle->catapultState, 1);
    EXPECT_EQ(BattleState::money, 50);
    // Pressed in frame P + 117 still blocked; in P + 122 bought.
    RunFrames(97);
    Click(HORSEMAN_DOWN);
    EXPECT_TRUE(TroopsNamed("AllieDown").empty());
    RunFrames(3);
    Click(HORSEMAN_DOWN);
    ASSERT_EQ(TroopsNamed("AllieDown").size(), 1u);
    EXPECT_EQ(BattleState::money, 20);
}

TEST_F(BattleEconomyTest, TooLittleMoneyBuysNothingAndNothingHappensBeforeTheFirstPurchase) {
    EnterLevel(GS_LEVEL1);
    BattleState::money = 29;
    Click(KNIGHT_DOWN);
    EXPECT_TRUE(TroopsNamed("AllieDown").empty());
    EXPECT_EQ(BattleState::money, 29);
    EXPECT_LE(battle->spawnCooldown, 0);
    RunFrames(360); // longer than the commander's longest first wait: no income, no enemy
    EXPECT_EQ(BattleState::money, 29);
    EXPECT_TRUE(TroopsNamed("EnemyUp").empty() && TroopsNamed("EnemyDown").empty());
    EXPECT_FALSE(battle->battleStarted);
}

// One a half second (two for the Noblemen), paid while the money is 1000 or
// less; kill rewards pay above it.
TEST_F(BattleEconomyTest, IncomePaysPerHalfSecondUpToOneThousand) {
    for (uint8_t player : {HOUSE_WORKERS, HOUSE_NOBLEMEN}) {
        SCOPED_TRACE(player);
        int step = player == HOUSE_NOBLEMEN ? 2 : 1;
        EnterLevel(GS_LEVEL1, player);
        SilenceEnemy();
        Click(KNIGHT_UP);
        int32_t start = BattleState::money;
        RunFrames(300); // five seconds
        int32_t gained = BattleState::money - start;
        EXPECT_GE(gained, 9 * step);
        EXPECT_LE(gained, 10 * step);
        EXPECT_EQ(gained % step, 0);
        LeaveGame();
        EnterLevel(GS_LEVEL1, player);
        SilenceEnemy();
        BattleState::money = 1030;
        Click(KNIGHT_DOWN); // 1000: paid once more, then never above it
        RunFrames(32);
        EXPECT_EQ(BattleState::money, 1000 + step);
        RunFrames(120);
        EXPECT_EQ(BattleState::money, 1000 + step);
        GameObject* enemy = SpawnEnemyTroop(TROOP_SPEARMAN, false);
        enemy->position[0] = TroopsNamed("AllieDown")[0]->position[0] + 60;
        enemy->health = 1;
        RunFrames(40);
        EXPECT_EQ(BattleState::money, 1010 + step);
        LeaveGame();
    }
}

TEST_F(BattleEconomyTest, UpgradesCost100To460AndTheLastTierTakesNoMoney) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    SilenceEnemy();
    BattleState::money = 349;
    Click(KNIGHT_DOWN);
    GameObject* knight = TroopsNamed("AllieDown")[0];
    Click(KNIGHT_UPGRADE);
    EXPECT_EQ(BattleState::knightTier, 1);
    EXPECT_EQ(BattleState::money, 219);
    EXPECT_EQ(knight->damage, 20); // troops on the field change too
    Click(KNIGHT_UPGRADE);         // 220 needed
    EXPECT_EQ(BattleState::knightTier, 1);
    EXPECT_EQ(BattleState::money, 219);
    LeaveGame();
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    BattleState::money = 5000;
    for (int i = 0; i < 4; i++)
        Click(KNIGHT_UPGRADE);
    EXPECT_EQ(BattleState::knightTier, 4);
    EXPECT_EQ(BattleState::money, 5000 - (100 + 220 + 340 + 460));
    EXPECT_EQ(BattleState::spearmanTier, 0); // other types keep their tier
    // At 5 / 5 a click takes nothing and answers with the no-money click,
    // whether the next price could be paid or not.
    for (int32_t money : {BattleState::money, 10}) {
        BattleState::money = money;
        Channel* before = battle->effectChannels[EFFECT_NO_MONEY];
        Click(KNIGHT_UPGRADE);
        EXPECT_NE(battle->effectChannels[EFFECT_NO_MONEY], before) << money;
        EXPECT_EQ(BattleState::knightTier, 4);
        EXPECT_EQ(BattleState::money, money);
    }
}

TEST_F(BattleEconomyTest, WisemenPayTwentyLessAndTheHudShowsIt) {
    EnterPlaying(GS_LEVEL1, HOUSE_WISEMEN);
    BattleState::money = 5000;
    std::vector<int32_t> paid;
    for (int i = 0; i < 4; i++) {
        EXPECT_TRUE(PrintsText(std::to_string(80 + 120 * i) + "$ TO UPGRADE")) << i;
        int32_t before = BattleState::money;
        Click(SPEARMAN_UPGRADE);
        paid.push_back(before - BattleState::money);
    }
    EXPECT_EQ(paid, (std::vector<int32_t>{80, 200, 320, 440}));
    EXPECT_EQ(BattleState::spearmanTier, 4);
}
