// The three levels: what carries over from level 1 (tiers, prices, house
// bonuses), what a restart resets in each level, the enemy house of every
// pairing, and each level's music.
#include "battle_helpers.h"

#include "objects/animation.h"

using namespace battle_test;

namespace {

class BattleLevelsTest : public BattleTest {};

// Wins the running level with K and takes the win screen's Next level.
void NextLevel(int32_t next) {
    TapKey('K');
    RunFrames(82); // the win screen's opening curtain
    Click(END_RIGHT);
    RunUntilState(next, 300);
    RunFrames(1);
    ASSERT_EQ(currentState, next);
}

} // namespace

TEST_F(BattleLevelsTest, TiersAndPricesCarryOnAndOnlyLevelOnesRestartResetsThem) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    BattleState::money = 500;
    Click(HORSEMAN_UPGRADE);
    TapKey('R');
    EXPECT_EQ(BattleState::horsemanTier, 0);
    EXPECT_EQ(BattleState::horsemanUpgradePrice, 100);
    EXPECT_EQ(BattleState::money, 150);
    BattleState::money = 500;
    Click(KNIGHT_UPGRADE);
    Click(KNIGHT_UPGRADE);
    ASSERT_EQ(BattleState::knightTier, 2);
    TapKey('S'); // the global key to level 2
    RunFrames(1);
    ASSERT_EQ(currentState, GS_LEVEL2);
    EXPECT_EQ(BattleState::knightTier, 2);
    EXPECT_EQ(BattleState::knightUpgradePrice, 340);
    EXPECT_EQ(BattleState::money, 150);
    Click(KNIGHT_UP); // a knight bought now enters at tier index 2
    EXPECT_EQ(TroopsNamed("AllieUp")[0]->damage, 25);
    NextLevel(GS_LEVEL3);
    EXPECT_EQ(BattleState::knightTier, 2);
    BattleState::money = 500;
    Click(KNIGHT_UPGRADE);
    TapKey('R'); // later levels keep the tiers bought
    EXPECT_EQ(BattleState::knightTier, 3);
    EXPECT_EQ(BattleState::knightUpgradePrice, 460);
    EXPECT_EQ(BattleState::money, 150);
}

// Workers' castle (330) and Warriors' damage (+2) are set in level 1 and
// carried on; the Noblemen's income and the Wisemen's discount in every level.
TEST_F(BattleLevelsTest, HouseBonusesHoldInEveryLevel) {
    for (uint8_t player : {HOUSE_NOBLEMEN, HOUSE_WORKERS, HOUSE_WISEMEN, HOUSE_WARRIORS}) {
        EnterLevel(GS_LEVEL1, player);
        for (int32_t level : {GS_LEVEL1, GS_LEVEL2, GS_LEVEL3}) {
            SCOPED_TRACE(std::to_string(player) + " in " + std::to_string(level));
            if (level != GS_LEVEL1) NextLevel(level);
            SilenceEnemy();
            EXPECT_EQ(CastleNamed("AllieDown")->health, player == HOUSE_WORKERS ? 330 : 300);
            EXPECT_EQ(battle->incomeBonus, player == HOUSE_NOBLEMEN ? 1 : 0);
            EXPECT_EQ(battle->upgradeDiscount, player == HOUSE_WISEMEN ? 20 : 0);
            Click(SPEARMAN_DOWN);
            EXPECT_EQ(TroopsNamed("AllieDown")[0]->damage, player == HOUSE_WARRIORS ? 17 : 15);
        }
        LeaveGame();
    }
}

TEST_F(BattleLevelsTest, EnemyHouseOfEveryPairing) {
    // Player's house -> enemy house in levels 1, 2, 3.
    const int pairings[4][3] = {{HOUSE_WISEMEN, HOUSE_WARRIORS, HOUSE_WORKERS},
                                {HOUSE_WARRIORS, HOUSE_WISEMEN, HOUSE_NOBLEMEN},
                                {HOUSE_NOBLEMEN, HOUSE_WORKERS, HOUSE_WARRIORS},
                                {HOUSE_WORKERS, HOUSE_NOBLEMEN, HOUSE_WISEMEN}};
    const char* const folders[4] = {"Noblemen", "Workers", "Wisemen", "Warriors"};
    const char* const castles[4] = {"Nobel_Castle.png", "Worker_Castle.png", "Wiseman_Castle.png",
                                    "Warrior_Castle.png"};
    for (uint8_t player = 0; player < 4; player++) {
        for (int level = 0; level < 3; level++) {
            EnterLevel(levelTables[level].stateId, player);
            int enemy = pairings[player][level];
            EXPECT_EQ(PictureOf(CastleNamed("EnemyDown")), castles[enemy]);
            GameObject* troop = SpawnEnemyTroop(TROOP_KNIGHT, true);
            Animation* animation = static_cast<Sprite*>(troop)->animation;
            ASSERT_TRUE(animation && animation->texture);
            EXPECT_NE(std::string(animation->texture->name).find(folders[enemy]), std::string::npos)
                << animation->texture->name;
            EXPECT_EQ(troop->damage, 15); // enemies never upgrade
            LeaveGame();
        }
    }
}

TEST_F(BattleLevelsTest, EachLevelPlaysItsOwnMusicAndOnlyLevelThreeItsRain) {
    const char* music[3] = {"TheTrueStoryOfBeelzebub.mp3", "The Grace of a Kingdom.mp3",
                            "FinalLevel.mp3"};
    for (int level = 0; level < 3; level++) {
        EnterLevel(levelTables[level].stateId, HOUSE_WORKERS);
        ASSERT_TRUE(battle->music && battle->musicChannel);
        EXPECT_NE(std::string(battle->music->path).find(music[level]), std::string::npos);
        EXPECT_TRUE(battle->musicChannel->looping);
        EXPECT_EQ(battle->ambientChannel != nullptr, level == 2);
        LeaveGame();
    }
}
