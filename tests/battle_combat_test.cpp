// Lane combat in level 1: troops bought on the buy panel (or placed by the
// spawn functions the buyers use) walk, meet, exchange blows by the type
// matrix, die, pay, cross the up lane and move the banner.
#include "battle_helpers.h"

using namespace battle_test;

namespace {

class BattleCombatTest : public BattleTest {};

// Places an enemy troop `dx` units right of `ally`, in the ally's lane.
GameObject* EnemyFacing(GameObject* ally, TroopType type, float dx) {
    GameObject* enemy = SpawnEnemyTroop(type, ally->name == "AllieUp");
    enemy->position[0] = ally->position[0] + dx;
    return enemy;
}

} // namespace

TEST_F(BattleCombatTest, KnightBeatsSpearmanInFiveExchangesKeeping25) {
    EnterQuietLevel();
    Click(KNIGHT_DOWN);
    GameObject* knight = TroopsNamed("AllieDown")[0];
    GameObject* spearman = EnemyFacing(knight, TROOP_SPEARMAN, 75);
    int32_t moneyBefore = BattleState::money;
    std::vector<float> knightHealth, spearmanHealth;
    std::vector<int> exchangeFrames;
    for (int frame = 1; frame <= 200 && IsAlive(spearman); frame++) {
        float before = knight->health;
        RunFrames(1);
        if (knight->health == before) continue;
        knightHealth.push_back(knight->health);
        exchangeFrames.push_back(frame);
        if (IsAlive(spearman)) spearmanHealth.push_back(spearman->health);
    }
    EXPECT_FALSE(IsAlive(spearman));
    EXPECT_EQ(knightHealth, (std::vector<float>{85, 70, 55, 40, 25}));
    EXPECT_EQ(spearmanHealth, (std::vector<float>{78, 56, 34, 12}));
    ASSERT_EQ(exchangeFrames.size(), 5u);
    for (size_t i = 1; i < exchangeFrames.size(); i++)
        EXPECT_EQ(exchangeFrames[i] - exchangeFrames[i - 1], 30) << "one pair: every 30 frames";
    // The bar follows the health; the kill pays 10 and leaves a coin; the winner walks on.
    EXPECT_FLOAT_EQ(knight->healthBarFill->scale[0], 25.0f / 100 * 70);
    EXPECT_EQ(BattleState::money, moneyBefore + 10);
    EXPECT_EQ(ObjectsNamed("Coin").size(), 1u);
    EXPECT_TRUE(BattleState::downLaneClear);
    EXPECT_TRUE(ObjectsNamed("DustDown").empty());
    float x = knight->position[0];
    RunFrames(2);
    EXPECT_GT(knight->position[0], x);
}

TEST_F(BattleCombatTest, FightersStopAndAFightCloudShowsWhileTheyFight) {
    EnterQuietLevel();
    Click(HORSEMAN_UP);
    GameObject* horseman = TroopsNamed("AllieUp")[0];
    GameObject* enemy = EnemyFacing(horseman, TROOP_HORSEMAN, 70);
    RunFrames(3);
    float x = horseman->position[0], ex = enemy->position[0];
    RunFrames(5);
    EXPECT_EQ(horseman->position[0], x);
    EXPECT_EQ(enemy->position[0], ex);
    EXPECT_FALSE(BattleState::upLaneClear);
    std::vector<GameObject*> dust = ObjectsNamed("DustUp");
    ASSERT_EQ(dust.size(), 1u);
    EXPECT_FLOAT_EQ(dust[0]->position[0], ex - 50);
    RunFrames(60); // equal types trade their plain damage
    EXPECT_EQ(horseman->health, enemy->health);
    EXPECT_LT(horseman->health, 100);
}

TEST_F(BattleCombatTest, TwoAlliedTroopsNeverFight) {
    EnterQuietLevel();
    Click(KNIGHT_DOWN);
    GameObject* first = TroopsNamed("AllieDown")[0];
    GameObject* second = SpawnPlayerTroop(TROOP_HORSEMAN, false);
    second->position[0] = first->position[0] + 20;
    float x = first->position[0];
    RunFrames(90);
    EXPECT_EQ(first->health, 100);
    EXPECT_EQ(second->health, 100);
    EXPECT_GT(first->position[0], x + 60); // the lane is clear: both walk on
    EXPECT_TRUE(ObjectsNamed("DustDown").empty());
}

TEST_F(BattleCombatTest, AFighterIsPaidForOnceWhenSeveralPairsTouchIt) {
    EnterQuietLevel();
    Click(KNIGHT_DOWN);
    GameObject* first = TroopsNamed("AllieDown")[0];
    GameObject* second = SpawnPlayerTroop(TROOP_KNIGHT, false);
    second->position[0] = first->position[0] + 10;
    GameObject* enemy = EnemyFacing(first, TROOP_SPEARMAN, 60);
    enemy->health = 1;
    RunFrames(1);
    BattleState::downExchangeTimer = 1; // the next visit strikes
    int32_t moneyBefore = BattleState::money;
    RunFrames(1);
    EXPECT_FALSE(IsAlive(enemy));
    EXPECT_EQ(BattleState::money, moneyBefore + 10);
    EXPECT_EQ(ObjectsNamed("Coin").size(), 1u);
    // The lane is clear again and the two knights walk on; no cloud is left.
    RunFrames(2);
    EXPECT_TRUE(BattleState::downLaneClear);
    EXPECT_TRUE(ObjectsNamed("DustDown").empty());
    float x = first->position[0];
    RunFrames(2);
    EXPECT_GT(first->position[0], x);
}

TEST_F(BattleCombatTest, CrossingsMoveTheBanner) {
    EnterQuietLevel();
    ASSERT_TRUE(battle->banner);
    EXPECT_EQ(battle->banner->texture, battleAssets.bannerStandard); // 0 to 0
    EXPECT_FALSE(BattleState::playerHoldsBanner || BattleState::enemyHoldsBanner);
    Click(KNIGHT_DOWN); // a down-lane knight that will feel the banner
    GameObject* downKnight = TroopsNamed("AllieDown")[0];
    EXPECT_FLOAT_EQ(downKnight->speed, 0.8f);
    EXPECT_EQ(downKnight->damage, 15);

    GameObject* runner = SpawnPlayerTroop(TROOP_KNIGHT, true);
    runner->position[0] = 567;
    GameObject* fill = runner->healthBarFill;
    RunFrames(5); // seen at 570.2 by the fifth frame's check
    EXPECT_FALSE(IsAlive(runner));
    EXPECT_FALSE(IsAlive(fill));
    EXPECT_EQ(battle->alliedCrossings, 1);
    EXPECT_TRUE(BattleState::playerHoldsBanner);
    EXPECT_EQ(battle->banner->texture, battleAssets.playerBanner);
    RunFrames(1);
    EXPECT_FLOAT_EQ(downKnight->speed, 1.0f);
    EXPECT_EQ(downKnight->damage, 22);
    ASSERT_TRUE(downKnight->swordMarker);
    EXPECT_EQ(downKnight->swordMarker->visible, 1);

    // An enemy crossing makes a tie: the neutral banner and nobody powered.
    GameObject* enemyRunner = SpawnEnemyTroop(TROOP_HORSEMAN, true);
    enemyRunner->position[0] = -567;
    RunFrames(5);
    EXPECT_FALSE(IsAlive(enemyRunner));
    EXPECT_EQ(battle->enemyCrossings, 1);
    EXPECT_FALSE(BattleState::playerHoldsBanner || BattleState::enemyHoldsBanner);
    EXPECT_EQ(battle->banner->texture, battleAssets.bannerStandard);
    EXPECT_FLOAT_EQ(downKnight->speed, 0.8f);
    EXPECT_EQ(downKnight->damage, 15);
    EXPECT_EQ(downKnight->swordMarker->visible, 0);

    // A second one gives the enemy the banner and powers its down-lane troops.
    GameObject* enemyDown = SpawnEnemyTroop(TROOP_KNIGHT, false);
    enemyDown->position[0] = 300;
    SpawnEnemyTroop(TROOP_KNIGHT, true)->position[0] = -567;
    RunFrames(6);
    EXPECT_TRUE(BattleState::enemyHoldsBanner);
    EXPECT_EQ(battle->banner->texture, battleAssets.enemyBanner);
    EXPECT_FLOAT_EQ(enemyDown->speed, 1.0f);
    EXPECT_EQ(enemyDown->damage, 17);
    EXPECT_EQ(enemyDown->swordMarker->visible, 1);
}

TEST_F(BattleCombatTest, WarriorsKnightDeals17UpAtTierZeroAnd20AtTierOne) {
    EnterQuietLevel(HOUSE_WARRIORS);
    EXPECT_EQ(BattleState::damageBonus, 2);
    Click(KNIGHT_UP);
    RunFrames(125);
    Click(KNIGHT_DOWN);
    GameObject* up = TroopsNamed("AllieUp")[0];
    GameObject* down = TroopsNamed("AllieDown")[0];
    EXPECT_EQ(up->damage, 17);
    EXPECT_EQ(down->damage, 17);
    BattleState::money = 500;
    Click(KNIGHT_UPGRADE);
    EXPECT_EQ(up->damage, 20);
    EXPECT_EQ(down->damage, 22);
    BattleState::playerHoldsBanner = true; // as a crossing lead would set it
    battle->alliedCrossings = 1;
    RunFrames(1);
    EXPECT_EQ(down->damage, 29); // tier 1 with the banner, +2
    EXPECT_EQ(up->damage, 20);
}

TEST_F(BattleCombatTest, AlliedDamageFollowsTheTierTable) {
    EnterQuietLevel();
    Click(SPEARMAN_DOWN);
    RunFrames(125);
    Click(SPEARMAN_UP);
    GameObject* down = TroopsNamed("AllieDown")[0];
    GameObject* up = TroopsNamed("AllieUp")[0];
    const float expected[TIER_COUNT] = {15, 20, 25, 30, 40};
    BattleState::money = 5000;
    for (int tier = 0; tier < TIER_COUNT; tier++) {
        EXPECT_EQ(down->damage, expected[tier]) << "tier " << tier;
        EXPECT_EQ(up->damage, expected[tier]) << "tier " << tier;
        Click(SPEARMAN_UPGRADE);
    }
    battle->alliedCrossings = 1;
    RunFrames(1);
    EXPECT_EQ(down->damage, 47);
    EXPECT_EQ(up->damage, 40);
}

TEST_F(BattleCombatTest, PausedTroopsKeepPositionAndHealth) {
    EnterQuietLevel();
    Click(KNIGHT_DOWN);
    GameObject* knight = TroopsNamed("AllieDown")[0];
    EnemyFacing(knight, TROOP_HORSEMAN, 75);
    RunFrames(40);
    BattleState::paused = true;
    float x = knight->position[0], health = knight->health;
    int32_t timer = BattleState::downExchangeTimer;
    RunFrames(60);
    EXPECT_EQ(knight->position[0], x);
    EXPECT_EQ(knight->health, health);
    EXPECT_EQ(BattleState::downExchangeTimer, timer);
    EXPECT_EQ(static_cast<Sprite*>(knight)->playing, 0);
}
