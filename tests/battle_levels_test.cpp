// The three levels: what carries over from level 1 (tiers, prices, bonuses),
// what a restart resets in each level, the enemy house and strength of every
// pairing, each level's music, and screenshots of every level in battle.
#include "battle_helpers.h"

#include <algorithm>
#include <set>

#include "battle/level_setup.h"
#include "objects/animation.h"

using namespace battle_test;

namespace {

class BattleLevelsTest : public BattleTest {};

const char* const HOUSE_FOLDERS[4] = {"Noblemen", "Workers", "Wisemen", "Warriors"};

// Goes from the running level to `state` as the win screen does.
void GoToLevel(int32_t state) {
    nextState = state;
    RunFrames(2); // the change after the frame, then Load, Init and a frame
    ASSERT_EQ(currentState, state);
}

void Restart() {
    nextState = GS_RESTART;
    RunFrames(2);
}

} // namespace

TEST_F(BattleLevelsTest, TiersAndPricesCarryFromLevelOneToLevelTwo) {
    EnterLevel(GS_LEVEL1, HOUSE_NOBLEMEN);
    BattleState::money = 500;
    Click(KNIGHT_UPGRADE);
    Click(KNIGHT_UPGRADE);
    ASSERT_EQ(BattleState::knightTier, 2);
    TapKey('S'); // the global key to level 2
    RunFrames(1);
    ASSERT_EQ(currentState, GS_LEVEL2);
    EXPECT_EQ(battle, &levelStates[1]);
    EXPECT_EQ(BattleState::knightTier, 2);
    EXPECT_EQ(BattleState::knightUpgradePrice, 340);
    EXPECT_EQ(BattleState::spearmanTier, 0);
    EXPECT_EQ(BattleState::money, 150);
    // A knight bought now enters at tier index 2.
    Click(KNIGHT_UP);
    EXPECT_EQ(TroopsNamed("AllieUp")[0]->damage, 25);
}

TEST_F(BattleLevelsTest, RestartResetsTiersInLevelOneOnly) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    BattleState::money = 500;
    Click(HORSEMAN_UPGRADE);
    Restart();
    EXPECT_EQ(BattleState::horsemanTier, 0);
    EXPECT_EQ(BattleState::horsemanUpgradePrice, 100);
    EXPECT_EQ(BattleState::money, 150);
    for (int32_t state : {GS_LEVEL2, GS_LEVEL3}) {
        GoToLevel(state);
        BattleState::money = 500;
        Click(HORSEMAN_UPGRADE);
        int32_t tier = BattleState::horsemanTier;
        int32_t price = BattleState::horsemanUpgradePrice;
        EXPECT_GE(tier, 1);
        Restart();
        EXPECT_EQ(BattleState::horsemanTier, tier);
        EXPECT_EQ(BattleState::horsemanUpgradePrice, price);
        EXPECT_EQ(BattleState::money, 150);
    }
}

TEST_F(BattleLevelsTest, WorkersAndWarriorsKeepTheirLevelOneBonuses) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    EXPECT_EQ(CastleNamed("AllieDown")->health, 330);
    for (int32_t state : {GS_LEVEL2, GS_LEVEL3}) {
        GoToLevel(state);
        EXPECT_EQ(CastleNamed("AllieDown")->health, 330) << state;
        EXPECT_EQ(battle->incomeBonus, 0);
    }
    LeaveGame();
    EnterLevel(GS_LEVEL1, HOUSE_WARRIORS);
    for (int32_t state : {GS_LEVEL2, GS_LEVEL3}) {
        GoToLevel(state);
        SilenceEnemy();
        Click(SPEARMAN_DOWN);
        EXPECT_EQ(TroopsNamed("AllieDown")[0]->damage, 17) << state;
        EXPECT_EQ(CastleNamed("AllieDown")->health, 300);
    }
}

TEST_F(BattleLevelsTest, NoblemenAndWisemenBonusesAreSetByEveryLevel) {
    for (int32_t state : {GS_LEVEL2, GS_LEVEL3}) {
        EnterLevel(state, HOUSE_NOBLEMEN);
        EXPECT_EQ(battle->incomeBonus, 1);
        EXPECT_EQ(battle->upgradeDiscount, 0);
        LeaveGame();
        EnterLevel(state, HOUSE_WISEMEN);
        EXPECT_EQ(battle->upgradeDiscount, 20);
        EXPECT_EQ(battle->incomeBonus, 0);
        LeaveGame();
    }
}

TEST_F(BattleLevelsTest, EachLevelKeepsItsOwnRecord) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    Click(KNIGHT_UP);
    EXPECT_TRUE(levelStates[0].battleStarted);
    GoToLevel(GS_LEVEL2);
    EXPECT_FALSE(battle->battleStarted);
    EXPECT_EQ(battle->level, &levelTables[1]);
    EXPECT_TRUE(levelStates[0].battleStarted); // level 1's copy is untouched
    EXPECT_EQ(levelStates[1].baseFollowUpChance, 30);
    EXPECT_EQ(levelStates[2].baseFollowUpChance, 45);
}

TEST_F(BattleLevelsTest, EnemyHouseAndTierOfEveryPairing) {
    // Player's house -> enemy house in levels 1, 2, 3.
    const int pairings[4][3] = {{HOUSE_WISEMEN, HOUSE_WARRIORS, HOUSE_WORKERS},
                                {HOUSE_WARRIORS, HOUSE_WISEMEN, HOUSE_NOBLEMEN},
                                {HOUSE_NOBLEMEN, HOUSE_WORKERS, HOUSE_WARRIORS},
                                {HOUSE_WORKERS, HOUSE_NOBLEMEN, HOUSE_WISEMEN}};
    const char* const suffix[3] = {"", "2", "4"};
    const char* const castles[4] = {"Nobel_Castle.png", "Worker_Castle.png", "Wiseman_Castle.png",
                                    "Warrior_Castle.png"};
    uint8_t saved = house;
    for (uint8_t player = 0; player < 4; player++) {
        house = player;
        for (int level = 0; level < 3; level++) {
            int enemy = pairings[player][level];
            EXPECT_EQ(EnemyHouseOf(level), enemy);
            EXPECT_EQ(EnemyTroopAnimationPath(level, TROOP_HORSEMAN),
                      std::string("data\\Animation\\") + HOUSE_FOLDERS[enemy] +
                          "\\Horsemen\\Horseman" + suffix[level]);
        }
    }
    // Pictures: level numbers 1, 3, 5; the Wisemen enemy spelled "Wiseman" after level 1.
    house = HOUSE_NOBLEMEN;
    EXPECT_EQ(EnemyTroopPicturePath(0, TROOP_KNIGHT), "data\\Knight_Wisemen_1.png");
    EXPECT_EQ(EnemyTroopPicturePath(1, TROOP_KNIGHT), "data\\Knight_Warrior_3.png");
    EXPECT_EQ(EnemyTroopPicturePath(2, TROOP_SPEARMAN), "data\\Spearman_Worker_5.png");
    house = HOUSE_WORKERS;
    EXPECT_EQ(EnemyTroopPicturePath(1, TROOP_HORSEMAN), "data\\Horseman_Wiseman_3.png");
    EXPECT_EQ(EnemyTroopPicturePath(2, TROOP_KNIGHT), "data\\Knight_Wiseman_5.png");
    house = saved;

    // Through the levels themselves: the enemy castle and the enemy troops' picture.
    for (uint8_t player = 0; player < 4; player++) {
        for (int level = 0; level < 3; level++) {
            EnterLevel(levelTables[level].stateId, player);
            int enemy = pairings[player][level];
            if (battleAssets.enemyCastle) {
                EXPECT_EQ(PictureOf(CastleNamed("EnemyDown")), castles[enemy]);
            }
            GameObject* troop = SpawnEnemyTroop(TROOP_KNIGHT, true);
            Animation* animation = static_cast<Sprite*>(troop)->animation;
            EXPECT_EQ(animation, battleAssets.enemyTroopAnims[TROOP_KNIGHT]);
            if (animation && animation->texture) {
                EXPECT_NE(std::string(animation->texture->name).find(HOUSE_FOLDERS[enemy]),
                          std::string::npos)
                    << animation->texture->name;
            }
            EXPECT_EQ(troop->damage, 15); // enemies never upgrade
            LeaveGame();
        }
    }
}

// Every level with troops fighting in both lanes, the catapult firing and the
// thief walking, saved to <build>/shots for looking at.
TEST_F(BattleLevelsTest, ScreenshotsOfEveryLevelInBattle) {
    const char* names[3] = {"battle_level1", "battle_level2", "battle_level3"};
    for (int level = 0; level < 3; level++) {
        EnterLevel(levelTables[level].stateId, static_cast<uint8_t>(level));
        SilenceEnemy();
        BattleState::money = 2000;
        Click(THIEF);
        Click(CANNON);
        for (TroopType type : {TROOP_KNIGHT, TROOP_SPEARMAN, TROOP_HORSEMAN}) {
            GameObject* down = SpawnPlayerTroop(type, false);
            down->position[0] = -150.0f + 100 * type;
            GameObject* enemyDown = SpawnEnemyTroop(static_cast<TroopType>((type + 1) % 3), false);
            enemyDown->position[0] = down->position[0] + 70;
            GameObject* up = SpawnPlayerTroop(type, true);
            up->position[0] = -250.0f + 110 * type;
            GameObject* enemyUp = SpawnEnemyTroop(static_cast<TroopType>((type + 2) % 3), true);
            enemyUp->position[0] = up->position[0] + 70;
        }
        battle->catapultCooldown = 0;
        RunFrames(80); // the opening curtain has gone
        Click(CANNON);
        RunFrames(30); // the rock is in the air, the fights are on
        Screenshot shot = CaptureShot(names[level]);
        ASSERT_EQ(shot.width, 1280);
        std::set<uint32_t> colours;
        for (int y = 0; y < shot.height; y += 37)
            for (int x = 0; x < shot.width; x += 41)
                colours.insert(shot.At(x, y));
        EXPECT_GT(colours.size(), 20u) << names[level]; // not one flat colour
        EXPECT_EQ(ObjectsNamed("Rock").size(), 1u);
        EXPECT_EQ(ObjectsNamed("Allie").size(), 1u);
        EXPECT_FALSE(ObjectsNamed("DustDown").empty());
        EXPECT_FALSE(ObjectsNamed("DustUp").empty());
        LeaveGame();
    }
}

TEST_F(BattleLevelsTest, EachLevelPlaysItsOwnMusicAndOnlyLevelThreeItsRain) {
    const char* music[3] = {"TheTrueStoryOfBeelzebub.mp3", "The Grace of a Kingdom.mp3",
                            "FinalLevel.mp3"};
    for (int level = 0; level < 3; level++) {
        EnterLevel(levelTables[level].stateId, HOUSE_WORKERS);
        Sprite* field = static_cast<Sprite*>(battle->background);
        ASSERT_TRUE(field);
        EXPECT_EQ(field->animation, battleAssets.fieldAnim);
        if (!battle->music) continue; // the data folder lacks the track
        EXPECT_NE(std::string(battle->music->path).find(music[level]), std::string::npos);
        ASSERT_TRUE(battle->musicChannel);
        EXPECT_TRUE(battle->musicChannel->looping);
        EXPECT_FALSE(battle->musicChannel->paused);
        // Level 3's rain (its switches are tested with the pause menu).
        EXPECT_EQ(battle->ambientChannel != nullptr, level == 2 && battle->ambient);
        EXPECT_TRUE(!battle->ambientChannel || battle->ambientChannel->looping);
        LeaveGame();
    }
}
