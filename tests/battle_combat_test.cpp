// Lane combat in level 1: troops bought on the buy panel (or placed by the
// spawn functions the buyers use) walk, meet, exchange blows by the type
// matrix, die, pay, cross the up lane and move the banner; a pause freezes
// the whole field.
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

// A troop of the player (or the enemy) about to leave the up lane at its far end.
void CrossUpLane(bool player) {
    GameObject* runner =
        player ? SpawnPlayerTroop(TROOP_KNIGHT, true) : SpawnEnemyTroop(TROOP_HORSEMAN, true);
    runner->position[0] = player ? 567 : -567;
    RunFrames(6);
    EXPECT_FALSE(IsAlive(runner));
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
    EXPECT_EQ(spearmanHealth, (std::vector<float>{78, 56, 34, 12})); // 15 + 7
    ASSERT_EQ(exchangeFrames.size(), 5u);
    for (size_t i = 1; i < exchangeFrames.size(); i++)
        EXPECT_EQ(exchangeFrames[i] - exchangeFrames[i - 1], 30) << "one pair: every 30 frames";
    // The kill pays 10 once and leaves a coin; the winner walks on.
    EXPECT_EQ(BattleState::money, moneyBefore + 10);
    EXPECT_EQ(ObjectsNamed("Coin").size(), 1u);
    EXPECT_TRUE(BattleState::downLaneClear);
    float x = knight->position[0];
    RunFrames(2);
    EXPECT_GT(knight->position[0], x);
}

TEST_F(BattleCombatTest, EqualTypesTradeEvenlyAlliesNeverFightAndADeathPaysOnce) {
    EnterQuietLevel();
    Click(HORSEMAN_UP);
    GameObject* horseman = TroopsNamed("AllieUp")[0];
    GameObject* enemy = EnemyFacing(horseman, TROOP_HORSEMAN, 70);
    RunFrames(3);
    float x = horseman->position[0];
    RunFrames(60);
    EXPECT_EQ(horseman->position[0], x); // fighters stop
    EXPECT_FALSE(BattleState::upLaneClear);
    EXPECT_EQ(ObjectsNamed("DustUp").size(), 1u);
    EXPECT_EQ(horseman->health, enemy->health);
    EXPECT_LT(horseman->health, 100);
    // Two allied knights side by side never fight each other, and an enemy
    // touching both pays once when it dies.
    LeaveGame();
    EnterQuietLevel();
    Click(KNIGHT_DOWN);
    GameObject* first = TroopsNamed("AllieDown")[0];
    GameObject* second = SpawnPlayerTroop(TROOP_KNIGHT, false);
    second->position[0] = first->position[0] + 10;
    RunFrames(30);
    EXPECT_EQ(first->health, 100);
    EXPECT_EQ(second->health, 100);
    GameObject* victim = EnemyFacing(first, TROOP_SPEARMAN, 60);
    victim->health = 1;
    int32_t moneyBefore = BattleState::money;
    RunFrames(40);
    EXPECT_FALSE(IsAlive(victim));
    EXPECT_EQ(BattleState::money, moneyBefore + 10);
    EXPECT_EQ(ObjectsNamed("Coin").size(), 1u);
    EXPECT_TRUE(BattleState::downLaneClear);
    EXPECT_TRUE(ObjectsNamed("DustDown").empty());
}

TEST_F(BattleCombatTest, CrossingsMoveTheBanner) {
    EnterQuietLevel();
    EXPECT_EQ(battle->banner->texture, battleAssets.bannerStandard); // 0 to 0
    Click(KNIGHT_DOWN);
    GameObject* downKnight = TroopsNamed("AllieDown")[0];
    EXPECT_FLOAT_EQ(downKnight->speed, 0.8f);
    EXPECT_EQ(downKnight->damage, 15);
    CrossUpLane(true);
    EXPECT_EQ(battle->alliedCrossings, 1);
    EXPECT_TRUE(BattleState::playerHoldsBanner);
    EXPECT_EQ(battle->banner->texture, battleAssets.playerBanner);
    EXPECT_FLOAT_EQ(downKnight->speed, 1.0f);
    EXPECT_EQ(downKnight->damage, 22);
    EXPECT_EQ(downKnight->swordMarker->visible, 1);
    // An enemy crossing makes a tie: the neutral banner and nobody powered.
    CrossUpLane(false);
    EXPECT_EQ(battle->enemyCrossings, 1);
    EXPECT_FALSE(BattleState::playerHoldsBanner || BattleState::enemyHoldsBanner);
    EXPECT_EQ(battle->banner->texture, battleAssets.bannerStandard);
    EXPECT_FLOAT_EQ(downKnight->speed, 0.8f);
    EXPECT_EQ(downKnight->damage, 15);
    // A second one gives the enemy the banner and powers its down-lane troops.
    GameObject* enemyDown = SpawnEnemyTroop(TROOP_KNIGHT, false);
    enemyDown->position[0] = 300;
    CrossUpLane(false);
    EXPECT_TRUE(BattleState::enemyHoldsBanner);
    EXPECT_EQ(battle->banner->texture, battleAssets.enemyBanner);
    EXPECT_FLOAT_EQ(enemyDown->speed, 1.0f);
    EXPECT_EQ(enemyDown->damage, 17);
}

// Damage by tier, for troops on the field and with the banner: Workers get
// the plain table, Warriors 2 more, except on up-lane troops an upgrade
// has refreshed (the down lane's refresh goes through the banner rule,
// which adds it).
TEST_F(BattleCombatTest, DamageFollowsTheTierTableTheBannerAndTheWarriorsBonus) {
    for (uint8_t player : {HOUSE_WORKERS, HOUSE_WARRIORS}) {
        SCOPED_TRACE(player);
        const float bonus = player == HOUSE_WARRIORS ? 2 : 0;
        EnterQuietLevel(player);
        BattleState::money = 5000;
        Click(SPEARMAN_DOWN);
        RunFrames(125);
        Click(SPEARMAN_UP);
        GameObject* down = TroopsNamed("AllieDown")[0];
        GameObject* up = TroopsNamed("AllieUp")[0];
        const float expected[TIER_COUNT] = {15, 20, 25, 30, 40};
        for (int tier = 0; tier < TIER_COUNT; tier++) {
            EXPECT_EQ(down->damage, expected[tier] + bonus) << "tier " << tier;
            EXPECT_EQ(up->damage, expected[tier] + (tier == 0 ? bonus : 0)) << "tier " << tier;
            Click(SPEARMAN_UPGRADE);
        }
        RunFrames(125);
        CrossUpLane(true);
        EXPECT_EQ(down->damage, 47 + bonus); // the banner powers the down lane only
        EXPECT_EQ(up->damage, 40);
        LeaveGame();
    }
}

TEST_F(BattleCombatTest, PauseFreezesTroopsTheThiefTheCatapultAndTheCommander) {
    EnterQuietLevel();
    BattleState::money = 400;
    Click(CANNON);
    RunFramesUntil([] { return battle->catapultCooldown <= 0; }, 700);
    Click(CANNON);
    Click(THIEF);
    Click(KNIGHT_DOWN); // still in the buy cooldown: bought after it
    RunFrames(125);
    Click(KNIGHT_DOWN);
    GameObject* knight = TroopsNamed("AllieDown")[0];
    EnemyFacing(knight, TROOP_HORSEMAN, 75);
    RunFrames(40);
    ASSERT_FALSE(ObjectsNamed("Allie").empty());
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(BattleState::paused);
    std::vector<GameObject*> moving = {knight, ObjectsNamed("Allie")[0]};
    std::vector<float> places, health = {knight->health};
    for (GameObject* object : moving)
        places.push_back(object->position[0] + object->position[1]);
    float wave = battle->downWaveTimer, rockCooldown = battle->catapultCooldown;
    int32_t exchange = BattleState::downExchangeTimer;
    RunFrames(60);
    for (size_t i = 0; i < moving.size(); i++)
        EXPECT_EQ(moving[i]->position[0] + moving[i]->position[1], places[i]) << i;
    EXPECT_EQ(knight->health, health[0]);
    EXPECT_EQ(static_cast<Sprite*>(knight)->playing, 0);
    EXPECT_EQ(battle->downWaveTimer, wave);
    EXPECT_EQ(battle->catapultCooldown, rockCooldown);
    EXPECT_EQ(BattleState::downExchangeTimer, exchange);
}
