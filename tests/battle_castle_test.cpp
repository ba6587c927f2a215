// Castles and the end of a battle in level 1 through the real state manager:
// the Workers' 330-point castle and its wide bar, castles falling to troops
// (with the console line) or to rocks (without), the closing curtain and the
// change to the win or lose screen, and the K shortcut.
#include "battle_helpers.h"

using namespace battle_test;

namespace {

class BattleCastleTest : public BattleTest {
  protected:
    void EnterQuietLevel(uint8_t playerHouse = HOUSE_WORKERS) {
        EnterLevel(GS_LEVEL1, playerHouse);
        SilenceEnemy();
        SuppressIncome();
    }
};

bool IsListed(GameObject* object) {
    for (GameObject* o : objectList)
        if (o == object) return true;
    return false;
}

// Frames until the state manager has left the level (at most `limit`).
int FramesUntilLevelLeft(int limit) {
    int frames = 0;
    while (currentState == GS_LEVEL1 && frames < limit)
        frames += RunFrames(1);
    return frames;
}

} // namespace

// ---------------------------------------------------------------------------
// Castles
// ---------------------------------------------------------------------------

TEST_F(BattleCastleTest, CastlesStandAtBothEndsOfTheDownLane) {
    EnterQuietLevel(HOUSE_NOBLEMEN);
    GameObject* player = CastleNamed("AllieDown");
    GameObject* enemy = CastleNamed("EnemyDown");
    ASSERT_TRUE(player && enemy);
    EXPECT_EQ(player->position[0], -630);
    EXPECT_EQ(enemy->position[0], 630);
    EXPECT_EQ(player->position[1], -100);
    EXPECT_EQ(player->scale[0], -200);
    EXPECT_EQ(enemy->scale[0], 200);
    EXPECT_EQ(player->health, 300);
    EXPECT_EQ(enemy->health, 300);
    EXPECT_EQ(player->maxHealth, 300);
    ASSERT_TRUE(player->healthBarFill && enemy->healthBarFrame);
    EXPECT_EQ(player->healthBarFill->position[0], -590);
    EXPECT_EQ(enemy->healthBarFrame->scale[0], -70);
    EXPECT_EQ(ObjectsNamed("HealthBG").size(), 2u);
    ASSERT_TRUE(player->swordMarker);
    EXPECT_EQ(player->swordMarker->visible, 0);
}

TEST_F(BattleCastleTest, WorkersCastleStartsAt330AndItsBarIsWideUntilBelow300) {
    EnterQuietLevel(HOUSE_WORKERS);
    GameObject* castle = CastleNamed("AllieDown");
    ASSERT_TRUE(castle);
    EXPECT_EQ(castle->health, 330);
    EXPECT_EQ(castle->maxHealth, 300);
    EXPECT_EQ(castle->healthBarFill->scale[0], 70); // until its first hit
    GameObject* raider = SpawnEnemyTroop(TROOP_KNIGHT, false);
    raider->position[0] = -560;
    RunFrames(32);
    EXPECT_EQ(castle->health, 315);
    EXPECT_FLOAT_EQ(castle->healthBarFill->scale[0], 73.5f);
    // The fill moves so that it empties towards the castle.
    EXPECT_FLOAT_EQ(castle->healthBarFill->position[0], -630 - (70 - 73.5f) / 2 + 40);
    castle->health = 310;
    raider = SpawnEnemyTroop(TROOP_KNIGHT, false);
    raider->position[0] = -560;
    RunFrames(31);
    EXPECT_EQ(castle->health, 295);
    EXPECT_LT(castle->healthBarFill->scale[0], 70);
}

// ---------------------------------------------------------------------------
// The end of a battle
// ---------------------------------------------------------------------------

TEST_F(BattleCastleTest, EnemyCastleFallingToATroopPrintsYouWinAndLeadsToTheWinScreen) {
    EnterQuietLevel();
    GameObject* castle = CastleNamed("EnemyDown");
    GameObject* fill = castle->healthBarFill;
    castle->health = 10;
    GameObject* besieger = SpawnPlayerTroop(TROOP_KNIGHT, false);
    besieger->position[0] = 560;
    int32_t moneyBefore = BattleState::money;
    testing::internal::CaptureStdout();
    RunFrames(31);
    std::string console = testing::internal::GetCapturedStdout();
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
    int frames = FramesUntilLevelLeft(200);
    EXPECT_GE(frames, 118);
    EXPECT_LE(frames, 122);
    EXPECT_EQ(currentState, GS_WIN);
}

TEST_F(BattleCastleTest, PlayerCastleFallingPrintsYouLoseAndLeadsToTheLoseScreen) {
    EnterQuietLevel(HOUSE_NOBLEMEN);
    GameObject* castle = CastleNamed("AllieDown");
    castle->health = 5;
    GameObject* raider = SpawnEnemyTroop(TROOP_SPEARMAN, false);
    raider->position[0] = -560;
    testing::internal::CaptureStdout();
    RunFrames(31);
    std::string console = testing::internal::GetCapturedStdout();
    EXPECT_NE(console.find("You lose\n"), std::string::npos);
    EXPECT_TRUE(BattleState::battleLost);
    // The curtain rises from below to cover the field.
    GameObject* wall = battle->endWall;
    ASSERT_TRUE(wall);
    float y = wall->position[1];
    RunFrames(10);
    EXPECT_FLOAT_EQ(wall->position[1], y + 100);
    FramesUntilLevelLeft(200);
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
    FramesUntilLevelLeft(200);
    EXPECT_EQ(currentState, GS_WIN);
}

TEST_F(BattleCastleTest, BothCastlesFallingTogetherLeadToTheWinScreen) {
    EnterQuietLevel();
    CastleNamed("EnemyDown")->health = 0;
    CastleNamed("AllieDown")->health = 0;
    RunFrames(1);
    EXPECT_TRUE(BattleState::battleWon);
    EXPECT_TRUE(BattleState::battleLost);
    FramesUntilLevelLeft(200);
    EXPECT_EQ(currentState, GS_WIN);
}

TEST_F(BattleCastleTest, KLeadsToTheWinScreenAtOnce) {
    EnterQuietLevel();
    KeyDown('K');
    RunFrames(1);
    EXPECT_EQ(currentState, GS_WIN);
    KeyUp('K');
    RunFrames(1);
}

TEST_F(BattleCastleTest, TheOpeningCurtainHidesTheHudFor80Frames) {
    EnterQuietLevel();
    GameObject* wall = battle->introWall;
    ASSERT_TRUE(wall);
    int frames = 1; // EnterLevel ran the first frame
    while (!battle->introWallGone && frames < 200)
        frames += RunFrames(1);
    EXPECT_EQ(frames, 80);
    EXPECT_LE(wall->position[1], -800);
}

TEST_F(BattleCastleTest, ARestartPlacesTheClosingCurtainAgain) {
    EnterQuietLevel();
    CastleNamed("EnemyDown")->health = 0;
    RunFrames(3);
    EXPECT_TRUE(battle->endWallPlaced);
    // The flags belong to the win screen (the fallen castle sets them every
    // frame until Free); a restart of the level resets only its own curtain.
    nextState = GS_RESTART;
    RunFrames(1); // the frame that asks, then Free
    ClearBattleEndFlags();
    RunFrames(1); // Init and a frame
    EXPECT_EQ(currentState, GS_LEVEL1);
    EXPECT_FALSE(battle->endWallPlaced);
    EXPECT_EQ(battle->endTransitionTimer, 2);
    CastleNamed("EnemyDown")->health = 0;
    RunFrames(2);
    EXPECT_TRUE(battle->endWallPlaced);
    EXPECT_EQ(ObjectsNamed("Wall").size(), 2u);
}
