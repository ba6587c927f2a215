// Castles and the end of a battle in level 1: the castles and their bars,
// troops reaching a castle, castles falling to troops (with the console line)
// or to rocks (without), the closing curtain, the win or lose screen, and K.
#include "battle_helpers.h"

using namespace battle_test;

namespace {

class BattleCastleTest : public BattleTest {};

bool IsListed(GameObject* object) {
    for (GameObject* o : objectList)
        if (o == object) return true;
    return false;
}

// Frames until the state manager has left the level (at most 200).
int FramesUntilLevelLeft() {
    return RunFramesUntil([] { return currentState != GS_LEVEL1; }, 200);
}

// Runs `frames` frames and returns what they printed on the console.
std::string ConsoleOf(int frames) {
    testing::internal::CaptureStdout();
    RunFrames(frames);
    return testing::internal::GetCapturedStdout();
}

} // namespace

TEST_F(BattleCastleTest, CastlesTheirBarsAndTroopsReachingThem) {
    EnterQuietLevel(HOUSE_WORKERS);
    GameObject* player = CastleNamed("AllieDown");
    GameObject* enemy = CastleNamed("EnemyDown");
    ASSERT_TRUE(player && enemy);
    EXPECT_EQ(player->position[0], -630);
    EXPECT_EQ(enemy->position[0], 630);
    EXPECT_EQ(player->position[1], -100);
    EXPECT_EQ(player->scale[0], -200);
    EXPECT_EQ(enemy->scale[0], 200);
    EXPECT_EQ(player->health, 330); // Workers: 330 of 300
    EXPECT_EQ(player->maxHealth, 300);
    EXPECT_EQ(enemy->health, 300);
    ASSERT_TRUE(player->healthBarFill && enemy->healthBarFill && enemy->healthBarFrame);
    EXPECT_EQ(enemy->healthBarFill->position[0], 590);
    EXPECT_EQ(player->healthBarFill->scale[0], 70); // until its first hit
    EXPECT_EQ(enemy->healthBarFrame->scale[0], -70);
    EXPECT_EQ(ObjectsNamed("HealthBG").size(), 2u);
    ASSERT_TRUE(player->swordMarker);
    EXPECT_EQ(player->swordMarker->visible, 0);

    // An enemy knight at the castle dies at the first exchange, 30 frames on,
    // takes its damage off the castle, and pays nothing.
    int32_t moneyBefore = BattleState::money;
    SpawnEnemyTroop(TROOP_KNIGHT, false)->position[0] = -560;
    RunFrames(29);
    EXPECT_EQ(TroopsNamed("EnemyDown").size(), 1u);
    EXPECT_EQ(player->health, 330);
    RunFrames(1);
    EXPECT_TRUE(TroopsNamed("EnemyDown").empty());
    EXPECT_EQ(player->health, 315);
    EXPECT_EQ(BattleState::money, moneyBefore);
    EXPECT_TRUE(ObjectsNamed("Coin").empty());
    RunFrames(2);
    EXPECT_FLOAT_EQ(player->healthBarFill->scale[0], 73.5f); // wider than the frame
    EXPECT_FLOAT_EQ(player->healthBarFill->position[0], -630 - (70 - 73.5f) / 2 + 40);
    player->health = 310;
    SpawnEnemyTroop(TROOP_KNIGHT, false)->position[0] = -560;
    RunFrames(31);
    EXPECT_EQ(player->health, 295);
    EXPECT_LT(player->healthBarFill->scale[0], 70);
    // A player spearman at the enemy castle.
    SpawnPlayerTroop(TROOP_SPEARMAN, false)->position[0] = 560;
    RunFrames(31);
    EXPECT_TRUE(TroopsNamed("AllieDown").empty());
    EXPECT_EQ(enemy->health, 300 - 15);
}

TEST_F(BattleCastleTest, EnemyCastleFallingToATroopPrintsYouWinAndLeadsToTheWinScreen) {
    EnterQuietLevel();
    GameObject* castle = CastleNamed("EnemyDown");
    GameObject* fill = castle->healthBarFill;
    castle->health = 10;
    SpawnPlayerTroop(TROOP_KNIGHT, false)->position[0] = 560;
    int32_t moneyBefore = BattleState::money;
    std::string console = ConsoleOf(31);
    EXPECT_NE(console.find("You win\n"), std::string::npos);
    EXPECT_EQ(console.find("You lose"), std::string::npos);
    EXPECT_TRUE(BattleState::battleWon);
    EXPECT_FALSE(IsListed(castle)); // destroyed with its bar; its plate stays
    EXPECT_FALSE(IsListed(fill));
    EXPECT_EQ(ObjectsNamed("HealthBG").size(), 2u);
    EXPECT_EQ(BattleState::money, moneyBefore + 10); // the castle's fall pays too
    EXPECT_TRUE(battle->hudHidden);
    ASSERT_TRUE(battle->endWall);
    // The curtain closes for 2 s while the battle runs on, then the win screen.
    int frames = FramesUntilLevelLeft();
    EXPECT_GE(frames, 118);
    EXPECT_LE(frames, 122);
    EXPECT_EQ(currentState, GS_WIN);
}

TEST_F(BattleCastleTest, PlayerCastleFallingPrintsYouLoseAndLeadsToTheLoseScreen) {
    EnterQuietLevel(HOUSE_NOBLEMEN);
    CastleNamed("AllieDown")->health = 5;
    SpawnEnemyTroop(TROOP_SPEARMAN, false)->position[0] = -560;
    EXPECT_NE(ConsoleOf(31).find("You lose\n"), std::string::npos);
    EXPECT_TRUE(BattleState::battleLost);
    // The curtain rises from below to cover the field.
    GameObject* wall = battle->endWall;
    ASSERT_TRUE(wall);
    float y = wall->position[1];
    RunFrames(10);
    EXPECT_FLOAT_EQ(wall->position[1], y + 100);
    FramesUntilLevelLeft();
    EXPECT_EQ(currentState, GS_LOSE);
}

TEST_F(BattleCastleTest, ACastleDownedByRocksEndsTheBattleWithoutTheConsoleLine) {
    EnterQuietLevel();
    GameObject* castle = CastleNamed("EnemyDown");
    castle->health = 30;
    BattleState::money = 300;
    Click(CANNON);
    battle->catapultCooldown = 0;
    testing::internal::CaptureStdout();
    Click(CANNON);
    ASSERT_EQ(ObjectsNamed("Rock").size(), 1u);
    RunFrames(125);
    std::string console = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(ObjectsNamed("Rock").empty());
    EXPECT_LE(castle->health, 0);
    EXPECT_TRUE(BattleState::battleWon);
    EXPECT_TRUE(IsListed(castle)); // not destroyed
    EXPECT_EQ(console.find("You win"), std::string::npos);
    FramesUntilLevelLeft();
    EXPECT_EQ(currentState, GS_WIN);
}

TEST_F(BattleCastleTest, BothCastlesFallingTogetherLeadToTheWinScreen) {
    EnterQuietLevel();
    CastleNamed("EnemyDown")->health = 0;
    CastleNamed("AllieDown")->health = 0;
    RunFrames(1);
    EXPECT_TRUE(BattleState::battleWon);
    EXPECT_TRUE(BattleState::battleLost);
    FramesUntilLevelLeft();
    EXPECT_EQ(currentState, GS_WIN);
}

TEST_F(BattleCastleTest, KLeadsToTheWinScreenAtOnce) {
    EnterQuietLevel();
    KeyDown('K');
    RunFrames(1);
    EXPECT_EQ(currentState, GS_WIN);
    KeyUp('K');
}

TEST_F(BattleCastleTest, ARestartPlacesTheClosingCurtainAgain) {
    EnterQuietLevel();
    CastleNamed("EnemyDown")->health = 0;
    RunFrames(3);
    EXPECT_TRUE(battle->endWallPlaced);
    TapKey('R'); // the restart clears the end flags and places a new curtain

    EXPECT_EQ(currentState, GS_LEVEL1);
    EXPECT_FALSE(battle->endWallPlaced);
    EXPECT_EQ(battle->endTransitionTimer, 2);
    CastleNamed("EnemyDown")->health = 0;
    RunFrames(2);
    EXPECT_TRUE(battle->endWallPlaced);
    EXPECT_EQ(ObjectsNamed("Wall").size(), 2u);
}
