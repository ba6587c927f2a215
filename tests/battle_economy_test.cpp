// Battle economy driven as a player does: clicks on the buy panel of level 1
// through the real state manager on the stepped clock, then the money, the
// shared buy cooldown, the troops on the field, the income and the upgrade
// ladder read back from the battle record and the object list.
#include "battle_helpers.h"

#include <algorithm>

#include "objects/animation.h"

using namespace battle_test;

namespace {

class BattleEconomyTest : public BattleTest {};

// A stand-in animation so a test can see which animation a troop was given.
Animation MakeMarkerAnimation() {
    Animation animation{};
    animation.texture = nullptr;
    animation.frameCount = 1;
    animation.rows = 1;
    animation.columns = 1;
    animation.frameDurations = {0.1f};
    return animation;
}

bool AnyEnemyOnField() {
    return !TroopsNamed("EnemyUp").empty() || !TroopsNamed("EnemyDown").empty();
}

} // namespace

// ---------------------------------------------------------------------------
// Buying and the shared cooldown
// ---------------------------------------------------------------------------

TEST_F(BattleEconomyTest, KnightCostsThirtyAndBlocksEveryPurchaseForTwoSeconds) {
    EnterLevel(GS_LEVEL1);
    SilenceEnemy();
    SuppressIncome();
    Click(KNIGHT_UP);
    EXPECT_EQ(BattleState::money, 120);
    ASSERT_EQ(TroopsNamed("AllieUp").size(), 1u);
    EXPECT_EQ(TroopsNamed("AllieUp")[0]->typeName, "Knight");
    EXPECT_TRUE(battle->battleStarted);
    EXPECT_NEAR(battle->spawnCooldown, 2.0f - 1.0f / 60, 0.02f);

    // During the cooldown every spawner and the thief area do nothing but click.
    bool clickSoundLoaded = battleAssets.effects[EFFECT_NO_MONEY] != nullptr;
    if (clickSoundLoaded) {
        ASSERT_TRUE(battle->effectChannels[EFFECT_NO_MONEY]);
        EXPECT_TRUE(battle->effectChannels[EFFECT_NO_MONEY]->paused); // still the primed one
    }
    for (Point p :
         {KNIGHT_UP, KNIGHT_DOWN, SPEARMAN_UP, SPEARMAN_DOWN, HORSEMAN_UP, HORSEMAN_DOWN, THIEF})
        Click(p);
    EXPECT_EQ(BattleState::money, 120);
    EXPECT_EQ(TroopsNamed("AllieUp").size(), 1u);
    EXPECT_TRUE(TroopsNamed("AllieDown").empty());
    EXPECT_TRUE(ObjectsNamed("Allie").empty());
    EXPECT_FALSE(BattleState::thiefOut);
    if (clickSoundLoaded) {
        ASSERT_TRUE(battle->effectChannels[EFFECT_NO_MONEY]);
        EXPECT_FALSE(battle->effectChannels[EFFECT_NO_MONEY]->paused); // the click was played
    }

    // Upgrades and the catapult still work during the cooldown.
    Click(KNIGHT_UPGRADE);
    EXPECT_EQ(BattleState::knightTier, 1);
    EXPECT_EQ(BattleState::money, 20);
    BattleState::money = 400;
    Click(CANNON);
    EXPECT_EQ(battle->catapultState, 1);
    EXPECT_EQ(BattleState::money, 100);
}

TEST_F(BattleEconomyTest, CooldownEndsAfterTwoSeconds) {
    EnterLevel(GS_LEVEL1);
    SilenceEnemy();
    SuppressIncome();
    Click(SPEARMAN_DOWN); // pressed in frame P; now after frame P + 1
    EXPECT_EQ(TroopsNamed("AllieDown").size(), 1u);
    RunFrames(115);
    Click(HORSEMAN_DOWN); // pressed in frame P + 117: still blocked
    EXPECT_EQ(TroopsNamed("AllieDown").size(), 1u);
    EXPECT_GT(battle->spawnCooldown, 0);
    RunFrames(3);
    Click(HORSEMAN_DOWN); // pressed in frame P + 122
    ASSERT_EQ(TroopsNamed("AllieDown").size(), 2u);
    EXPECT_EQ(TroopsNamed("AllieDown")[1]->typeName, "Horseman");
    EXPECT_EQ(BattleState::money, 90);
}

TEST_F(BattleEconomyTest, TooLittleMoneyBuysNothing) {
    EnterLevel(GS_LEVEL1);
    BattleState::money = 29;
    Click(KNIGHT_DOWN);
    EXPECT_TRUE(TroopsNamed("AllieDown").empty());
    EXPECT_EQ(BattleState::money, 29);
    EXPECT_FALSE(battle->battleStarted);
    EXPECT_LE(battle->spawnCooldown, 0);
    BattleState::money = 49;
    Click(THIEF);
    EXPECT_TRUE(ObjectsNamed("Allie").empty());
    EXPECT_EQ(BattleState::money, 49);
}

TEST_F(BattleEconomyTest, TroopsEnterAtTheLeftEndOfTheirLane) {
    EnterLevel(GS_LEVEL1);
    SilenceEnemy();
    SuppressIncome();
    Click(HORSEMAN_UP);
    ASSERT_EQ(TroopsNamed("AllieUp").size(), 1u);
    GameObject* horseman = TroopsNamed("AllieUp")[0];
    EXPECT_EQ(horseman->position[1], 100);
    EXPECT_NEAR(horseman->position[0], -510 + 2 * 0.8f, 0.01f); // walked in both frames
    EXPECT_EQ(horseman->scale[0], 90);
    EXPECT_EQ(horseman->health, 100);
    // A horseman bought for the down lane at tier index 3 is 100 wide.
    BattleState::horsemanTier = 3;
    RunFrames(125);
    Click(HORSEMAN_DOWN);
    ASSERT_EQ(TroopsNamed("AllieDown").size(), 1u);
    EXPECT_EQ(TroopsNamed("AllieDown")[0]->scale[0], 100);
    EXPECT_EQ(TroopsNamed("AllieDown")[0]->position[1], -100);
}

// ---------------------------------------------------------------------------
// Income
// ---------------------------------------------------------------------------

TEST_F(BattleEconomyTest, NoIncomeAndNoEnemyBeforeTheFirstPurchase) {
    EnterLevel(GS_LEVEL1);
    RunFrames(360); // longer than the commander's longest first wait
    EXPECT_EQ(BattleState::money, 150);
    EXPECT_FALSE(AnyEnemyOnField());
    EXPECT_FALSE(battle->battleStarted);
}

TEST_F(BattleEconomyTest, IncomePaysOnePerHalfSecondAfterTheFirstPurchase) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    SilenceEnemy();
    Click(KNIGHT_UP);
    int32_t start = BattleState::money;
    RunFrames(300); // five seconds
    int32_t gained = BattleState::money - start;
    EXPECT_GE(gained, 9);
    EXPECT_LE(gained, 10);
}

TEST_F(BattleEconomyTest, NoblemenIncomePaysTwo) {
    EnterLevel(GS_LEVEL1, HOUSE_NOBLEMEN);
    SilenceEnemy();
    EXPECT_EQ(battle->incomeBonus, 1);
    Click(KNIGHT_UP);
    int32_t start = BattleState::money;
    RunFrames(300);
    int32_t gained = BattleState::money - start;
    EXPECT_GE(gained, 18);
    EXPECT_LE(gained, 20);
    EXPECT_EQ(gained % 2, 0);
}

TEST_F(BattleEconomyTest, IncomeStopsAboveOneThousand) {
    for (uint8_t player : {HOUSE_WORKERS, HOUSE_NOBLEMEN}) {
        EnterLevel(GS_LEVEL1, player);
        SilenceEnemy();
        Click(KNIGHT_UP);
        BattleState::money = 1000;
        battle->incomeTimer = 0;
        RunFrames(32);
        EXPECT_EQ(BattleState::money, player == HOUSE_NOBLEMEN ? 1002 : 1001);
        BattleState::money = 1001;
        RunFrames(120);
        EXPECT_EQ(BattleState::money, 1001);
        LeaveGame();
    }
}

TEST_F(BattleEconomyTest, KillRewardsStillPayAboveOneThousand) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    SilenceEnemy();
    Click(KNIGHT_DOWN);
    BattleState::money = 1500;
    GameObject* knight = TroopsNamed("AllieDown")[0];
    GameObject* enemy = SpawnEnemyTroop(TROOP_SPEARMAN, false);
    enemy->position[0] = knight->position[0] + 60;
    enemy->health = 1;
    RunFrames(40);
    EXPECT_TRUE(TroopsNamed("EnemyDown").empty());
    EXPECT_EQ(BattleState::money, 1510);
}

// ---------------------------------------------------------------------------
// Upgrades
// ---------------------------------------------------------------------------

TEST_F(BattleEconomyTest, WisemenPayDiscountedPricesAndTheHudShowsThem) {
    EnterLevel(GS_LEVEL1, HOUSE_WISEMEN);
    EXPECT_EQ(battle->upgradeDiscount, 20);
    BattleState::money = 5000;
    RunFrames(90); // the opening curtain has gone: the HUD prints
    std::vector<int32_t> paid;
    for (int i = 0; i < 4; i++) {
        std::vector<PrintedText> texts = RecordPrintedTexts();
        std::string expected = std::to_string(80 + 120 * i) + "$ TO UPGRADE";
        if (battle->hudFont) // the HUD prints only with the game's font in the data folder
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const PrintedText& t) {
                return t.text == expected;
            })) << expected;
        int32_t before = BattleState::money;
        Click(SPEARMAN_UPGRADE);
        paid.push_back(before - BattleState::money);
    }
    EXPECT_EQ(paid, (std::vector<int32_t>{80, 200, 320, 440}));
    EXPECT_EQ(BattleState::spearmanTier, 4);
    EXPECT_EQ(BattleState::spearmanUpgradePrice, 580);
}

TEST_F(BattleEconomyTest, LastTierUpgradesNothingAndTakesNoMoney) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    BattleState::money = 5000;
    for (int i = 0; i < 4; i++)
        Click(HORSEMAN_UPGRADE);
    EXPECT_EQ(BattleState::horsemanTier, 4);
    EXPECT_EQ(BattleState::money, 5000 - (100 + 220 + 340 + 460));
    int32_t before = BattleState::money;
    Click(HORSEMAN_UPGRADE); // shown as 5 / 5
    Click(HORSEMAN_UPGRADE);
    EXPECT_EQ(BattleState::horsemanTier, 4);
    EXPECT_EQ(BattleState::money, before);
    EXPECT_EQ(BattleState::horsemanUpgradePrice, 580);
}

TEST_F(BattleEconomyTest, TooLittleMoneyForAnUpgradeDoesNothing) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    BattleState::money = 219;
    Click(KNIGHT_UPGRADE);
    EXPECT_EQ(BattleState::knightTier, 1);
    EXPECT_EQ(BattleState::money, 119);
    Click(KNIGHT_UPGRADE); // 220 needed
    EXPECT_EQ(BattleState::knightTier, 1);
    EXPECT_EQ(BattleState::money, 119);
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
    battleAssets.playerTroopAnims[TROOP_KNIGHT][0] = loaded;
    knight->animation = loaded;
}

TEST_F(BattleEconomyTest, AnUpgradeChangesTroopsAlreadyOnTheField) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    SilenceEnemy();
    Click(KNIGHT_DOWN);
    RunFrames(125);
    Click(KNIGHT_UP);
    RunFrames(125);
    Click(SPEARMAN_DOWN);
    GameObject* down = TroopsNamed("AllieDown")[0];
    GameObject* up = TroopsNamed("AllieUp")[0];
    GameObject* spearman = TroopsNamed("AllieDown")[1];
    EXPECT_EQ(down->damage, 15);
    EXPECT_EQ(up->damage, 15);
    Animation marker = MakeMarkerAnimation();
    Animation* loaded = battleAssets.playerTroopAnims[TROOP_KNIGHT][2];
    battleAssets.playerTroopAnims[TROOP_KNIGHT][2] = &marker;
    BattleState::money = 1000;
    Click(KNIGHT_UPGRADE);
    Click(KNIGHT_UPGRADE);
    EXPECT_EQ(BattleState::knightTier, 2);
    EXPECT_EQ(down->damage, 25);
    EXPECT_EQ(up->damage, 25);
    EXPECT_EQ(static_cast<Sprite*>(down)->animation, &marker);
    EXPECT_EQ(static_cast<Sprite*>(up)->animation, &marker);
    EXPECT_EQ(static_cast<Sprite*>(down)->frame, 0u);
    EXPECT_EQ(spearman->damage, 15); // other types keep their tier
    EXPECT_NE(static_cast<Sprite*>(spearman)->animation, &marker);
    battleAssets.playerTroopAnims[TROOP_KNIGHT][2] = loaded;
    static_cast<Sprite*>(down)->animation = loaded;
    static_cast<Sprite*>(up)->animation = loaded;
}

TEST_F(BattleEconomyTest, MoneyAboveOneHundredThousandPrintsWhole) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    if (!battle->hudFont) GTEST_SKIP() << "the game's font is not in the data folder";
    RunFrames(85);
    BattleState::money = 1234567;
    std::vector<PrintedText> texts = RecordPrintedTexts();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const PrintedText& t) { return t.text == "MONEY: 1234567"; }));
}

// Drawing and clicks share the engine's one draw scale: at every window size
// and in full screen a click on a spawner buys in its lane, and the buy
// picture is drawn where its click area is.
TEST_F(BattleEconomyTest, ClicksHitTheirAreasAtEveryWindowSizeAndInFullScreen) {
    struct Size {
        int width, height;
        bool fullscreen;
    } sizes[] = {{1920, 1080, false}, {960, 540, false}, {1280, 720, true}};
    for (const Size& size : sizes) {
        if (size.fullscreen)
            SetFullscreen(true);
        else
            SetWindowResolution(size.width, size.height);
        EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
        SilenceEnemy();
        Click(SPEARMAN_DOWN);
        ASSERT_EQ(TroopsNamed("AllieDown").size(), 1u) << size.width;
        EXPECT_EQ(TroopsNamed("AllieDown")[0]->typeName, "Spearman");
        EXPECT_TRUE(TroopsNamed("AllieUp").empty());
        if (battleAssets.buySpearman1) {
            // The picture under the spearman's area is the buy card, not the field.
            Screenshot with = CaptureFrame();
            battle->buyPicture[TROOP_SPEARMAN]->visible = 0;
            Screenshot without = CaptureFrame();
            battle->buyPicture[TROOP_SPEARMAN]->visible = 1;
            int differing = 0;
            for (float dx : {-30.0f, 0.0f, 30.0f})
                for (float dy : {-20.0f, 0.0f, 20.0f})
                    differing += with.AtDesign(SPEARMAN_UP.x + dx, 284 + dy) !=
                                 without.AtDesign(SPEARMAN_UP.x + dx, 284 + dy);
            EXPECT_GE(differing, 6) << size.width;
        }
        LeaveGame();
        if (size.fullscreen) SetFullscreen(false);
        SetWindowResolution(1280, 720);
        RunFrames(1);
    }
}
