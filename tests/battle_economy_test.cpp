// Battle economy driven by clicks on level 1's buy panel: money, the shared
// buy cooldown, troops on the field, income and the upgrade ladder.
#include "battle_helpers.h"

#include <algorithm>

#include "objects/animation.h"

using namespace battle_test;

namespace {

class BattleEconomyTest : public BattleTest {};

// A stand-in animation so a test can see which animation a troop was given.
Animation MakeMarkerAnimation() {
    Animation animation{};
    animation.frameCount = animation.rows = animation.columns = 1;
    animation.frameDurations = {0.1f};
    return animation;
}

} // namespace

TEST_F(BattleEconomyTest, KnightCostsThirtyAndBlocksEveryPurchaseForTwoSeconds) {
    EnterQuietLevel();
    Click(KNIGHT_UP);
    EXPECT_EQ(BattleState::money, 120);
    ASSERT_EQ(TroopsNamed("AllieUp").size(), 1u);
    EXPECT_EQ(TroopsNamed("AllieUp")[0]->typeName, "Knight");
    EXPECT_TRUE(battle->battleStarted);
    EXPECT_NEAR(battle->spawnCooldown, 2.0f - 1.0f / 60, 0.02f);

    // During the cooldown every spawner and the thief area only play the no-money click.
    Channel* const* click = &battle->effectChannels[EFFECT_NO_MONEY];
    bool clickSoundLoaded = battleAssets.effects[EFFECT_NO_MONEY] != nullptr;
    EXPECT_TRUE(!clickSoundLoaded || (*click && (*click)->paused)); // still the primed one
    for (Point p :
         {KNIGHT_UP, KNIGHT_DOWN, SPEARMAN_UP, SPEARMAN_DOWN, HORSEMAN_UP, HORSEMAN_DOWN, THIEF})
        Click(p);
    EXPECT_EQ(BattleState::money, 120);
    EXPECT_EQ(TroopsNamed("AllieUp").size(), 1u);
    EXPECT_TRUE(TroopsNamed("AllieDown").empty());
    EXPECT_TRUE(ObjectsNamed("Allie").empty());
    EXPECT_FALSE(BattleState::thiefOut);
    EXPECT_TRUE(!clickSoundLoaded || (*click && !(*click)->paused)); // the click was played

    // Upgrades and the catapult still work during the cooldown.
    Click(KNIGHT_UPGRADE);
    EXPECT_EQ(BattleState::knightTier, 1);
    EXPECT_EQ(BattleState::money, 20);
    BattleState::money = 400;
    Click(CANNON);
    EXPECT_EQ(battle->catapultState, 1);
    EXPECT_EQ(BattleState::money, 100);
}

TEST_F(BattleEconomyTest, TroopsEnterAtTheirLanesEndAndTheCooldownEndsAfterTwoSeconds) {
    EnterQuietLevel();
    Click(HORSEMAN_UP); // pressed in frame P; now after frame P + 1
    ASSERT_EQ(TroopsNamed("AllieUp").size(), 1u);
    GameObject* horseman = TroopsNamed("AllieUp")[0];
    EXPECT_EQ(horseman->position[1], 100);
    EXPECT_NEAR(horseman->position[0], -510 + 2 * 0.8f, 0.01f); // walked in both frames
    EXPECT_EQ(horseman->scale[0], 90);
    EXPECT_EQ(horseman->health, 100);
    RunFrames(115);
    Click(HORSEMAN_DOWN); // pressed in frame P + 117: still blocked
    EXPECT_TRUE(TroopsNamed("AllieDown").empty());
    EXPECT_GT(battle->spawnCooldown, 0);
    RunFrames(3);
    BattleState::horsemanTier = 3; // a horseman at tier index 3 is 100 wide
    Click(HORSEMAN_DOWN);          // pressed in frame P + 122
    ASSERT_EQ(TroopsNamed("AllieDown").size(), 1u);
    EXPECT_EQ(TroopsNamed("AllieDown")[0]->scale[0], 100);
    EXPECT_EQ(TroopsNamed("AllieDown")[0]->position[1], -100);
    EXPECT_EQ(BattleState::money, 90);
}

TEST_F(BattleEconomyTest, TooLittleMoneyBuysNothingAndNothingHappensBeforeTheFirstPurchase) {
    EnterLevel(GS_LEVEL1);
    BattleState::money = 29;
    Click(KNIGHT_DOWN);
    EXPECT_TRUE(TroopsNamed("AllieDown").empty());
    EXPECT_EQ(BattleState::money, 29);
    EXPECT_LE(battle->spawnCooldown, 0);
    BattleState::money = 49;
    Click(THIEF);
    EXPECT_TRUE(ObjectsNamed("Allie").empty());
    RunFrames(360); // longer than the commander's longest first wait: no income, no enemy
    EXPECT_EQ(BattleState::money, 49);
    EXPECT_TRUE(TroopsNamed("EnemyUp").empty() && TroopsNamed("EnemyDown").empty());
    EXPECT_FALSE(battle->battleStarted);
}

TEST_F(BattleEconomyTest, IncomePaysPerHalfSecondUpToOneThousand) {
    for (uint8_t player : {HOUSE_WORKERS, HOUSE_NOBLEMEN}) {
        SCOPED_TRACE(player);
        int step = player == HOUSE_NOBLEMEN ? 2 : 1;
        EnterLevel(GS_LEVEL1, player);
        SilenceEnemy();
        EXPECT_EQ(battle->incomeBonus, step - 1);
        Click(KNIGHT_UP);
        int32_t start = BattleState::money;
        RunFrames(300); // five seconds
        int32_t gained = BattleState::money - start;
        EXPECT_GE(gained, 9 * step);
        EXPECT_LE(gained, 10 * step);
        EXPECT_EQ(gained % step, 0);
        BattleState::money = 1000; // paid at 1000, not at 1001
        battle->incomeTimer = 0;
        RunFrames(32);
        EXPECT_EQ(BattleState::money, 1000 + step);
        BattleState::money = 1001;
        RunFrames(120);
        EXPECT_EQ(BattleState::money, 1001);
        LeaveGame();
    }
}

TEST_F(BattleEconomyTest, KillRewardsStillPayAboveOneThousand) {
    EnterQuietLevel();
    Click(KNIGHT_DOWN);
    BattleState::money = 1500;
    GameObject* enemy = SpawnEnemyTroop(TROOP_SPEARMAN, false);
    enemy->position[0] = TroopsNamed("AllieDown")[0]->position[0] + 60;
    enemy->health = 1;
    RunFrames(40);
    EXPECT_TRUE(TroopsNamed("EnemyDown").empty());
    EXPECT_EQ(BattleState::money, 1510);
}

TEST_F(BattleEconomyTest, WisemenPayDiscountedPricesAndTheHudShowsThem) {
    EnterPlaying(GS_LEVEL1, HOUSE_WISEMEN);
    EXPECT_EQ(battle->upgradeDiscount, 20);
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
    EXPECT_EQ(BattleState::spearmanUpgradePrice, 580);
}

TEST_F(BattleEconomyTest, AnUpgradeNeedsItsPriceAndTheLastTierTakesNoMoney) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    BattleState::money = 219;
    Click(KNIGHT_UPGRADE);
    EXPECT_EQ(BattleState::knightTier, 1);
    EXPECT_EQ(BattleState::money, 119);
    Click(KNIGHT_UPGRADE); // 220 needed
    EXPECT_EQ(BattleState::knightTier, 1);
    EXPECT_EQ(BattleState::money, 119);
    BattleState::money = 5000;
    for (int i = 0; i < 3; i++)
        Click(KNIGHT_UPGRADE);
    EXPECT_EQ(BattleState::knightTier, 4);
    EXPECT_EQ(BattleState::money, 5000 - (220 + 340 + 460));
    // At 5 / 5 a click takes nothing and answers with the no-money click,
    // whether the next price could be paid or not.
    for (int32_t money : {5000, 10}) {
        BattleState::money = money;
        Channel* before = battle->effectChannels[EFFECT_NO_MONEY];
        Click(KNIGHT_UPGRADE);
        EXPECT_NE(battle->effectChannels[EFFECT_NO_MONEY], before) << money;
        EXPECT_EQ(BattleState::knightTier, 4);
        EXPECT_EQ(BattleState::money, money);
    }
    EXPECT_EQ(BattleState::knightUpgradePrice, 580);
}

TEST_F(BattleEconomyTest, BelowTheCheapestUpgradeNotEvenTheRefreshRuns) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    SilenceEnemy();
    Click(KNIGHT_DOWN);
    Sprite* knight = static_cast<Sprite*>(TroopsNamed("AllieDown")[0]);
    Animation marker = MakeMarkerAnimation();
    Animation* loaded = battleAssets.playerTroopAnims[TROOP_KNIGHT][0];
    battleAssets.playerTroopAnims[TROOP_KNIGHT][0] = &marker;
    BattleState::money = 99;
    Click(NOWHERE);
    EXPECT_NE(knight->animation, &marker);
    BattleState::money = 100;
    Click(NOWHERE); // any click past the money test refreshes
    EXPECT_EQ(knight->animation, &marker);
    EXPECT_EQ(BattleState::knightTier, 0);
    EXPECT_EQ(BattleState::money, 100);
    battleAssets.playerTroopAnims[TROOP_KNIGHT][0] = knight->animation = loaded;
}

TEST_F(BattleEconomyTest, AnUpgradeChangesTroopsAlreadyOnTheField) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    SilenceEnemy();
    Click(KNIGHT_DOWN);
    RunFrames(125);
    Click(KNIGHT_UP);
    RunFrames(125);
    Click(SPEARMAN_DOWN);
    Sprite* knights[2] = {static_cast<Sprite*>(TroopsNamed("AllieDown")[0]),
                          static_cast<Sprite*>(TroopsNamed("AllieUp")[0])};
    Sprite* spearman = static_cast<Sprite*>(TroopsNamed("AllieDown")[1]);
    EXPECT_EQ(knights[0]->damage + knights[1]->damage, 30);
    Animation marker = MakeMarkerAnimation();
    Animation* loaded = battleAssets.playerTroopAnims[TROOP_KNIGHT][2];
    battleAssets.playerTroopAnims[TROOP_KNIGHT][2] = &marker;
    BattleState::money = 1000;
    Click(KNIGHT_UPGRADE);
    Click(KNIGHT_UPGRADE);
    EXPECT_EQ(BattleState::knightTier, 2);
    for (Sprite* knight : knights) {
        EXPECT_EQ(knight->damage, 25);
        EXPECT_EQ(knight->animation, &marker);
        EXPECT_EQ(knight->frame, 0u);
        knight->animation = loaded;
    }
    EXPECT_EQ(spearman->damage, 15); // other types keep their tier
    EXPECT_NE(spearman->animation, &marker);
    battleAssets.playerTroopAnims[TROOP_KNIGHT][2] = loaded;
}
