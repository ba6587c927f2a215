// Castles and the end of a battle in level 1: troops reaching a castle,
// castles falling to troops (with the console line) or to rocks (without),
// the closing curtain, the win or lose screen, and K.
#include "battle_helpers.h"

using namespace battle_test;

namespace {

class BattleCastleTest : public BattleTest {};

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

TEST_F(BattleCastleTest, TroopsReachingACastleStrikeItOnceAndPayNothing) {
    EnterQuietLevel(HOUSE_WORKERS);
    GameObject* player = CastleNamed("AllieDown");
    GameObject* enemy = CastleNamed("EnemyDown");
    ASSERT_TRUE(player && enemy);
    EXPECT_EQ(player->health, 330); // Workers: 330 of 300
    EXPECT_EQ(enemy->health, 300);
    // An enemy knight at the castle dies at the first exchange, 30 frames on,
    // takes its damage off the castle, and pays nothing.
    int32_t moneyBefore = BattleState::money;
    SpawnEnemyTroop(TROOP_KNIGHT, false)->position[0] = -560;
    RunFrames(29);
    EXPECT_EQ(player->health, 330);
    RunFrames(1);
    EXPECT_TRUE(TroopsNamed("EnemyDown").empty());
    EXPECT_EQ(player->health, 315);
    EXPECT_EQ(BattleState::money, moneyBefore);
    EXPECT_TRUE(ObjectsNamed("Coin").empty());
    SpawnPlayerTroop(TROOP_SPEARMAN, false)->position[0] = 560;
    RunFrames(31);
    EXPECT_TRUE(TroopsNamed("AllieDown").empty());
    EXPECT_EQ(enemy->health, 300 - 15);
}

TEST_F(BattleCastleTest, CastlesFallingToTroopsPrintTheLineAndLeadToTheirScreen) {
    struct {
        uint8_t house;
        bool playerWins;
        const char* line;
        int32_t screen;
    } cases[] = {{HOUSE_WORKERS, true, "You win\n", GS_WIN},
                 {HOUSE_NOBLEMEN, false, "You lose\n", GS_LOSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EnterQuietLevel(c.house);
        GameObject* castle = CastleNamed(c.playerWins ? "EnemyDown" : "AllieDown");
        castle->health = 5;
        if (c.playerWins)
            SpawnPlayerTroop(TROOP_KNIGHT, false)->position[0] = 560;
        else
            SpawnEnemyTroop(TROOP_SPEARMAN, false)->position[0] = -560;
        int32_t moneyBefore = BattleState::money;
        std::string console = ConsoleOf(31);
        EXPECT_NE(console.find(c.line), std::string::npos);
        EXPECT_EQ(console.find(c.playerWins ? "You lose" : "You win"), std::string::npos);
        EXPECT_EQ(BattleState::battleWon, c.playerWins);
        EXPECT_EQ(BattleState::battleLost, !c.playerWins);
        EXPECT_FALSE(IsAlive(castle));
        if (c.playerWins) {
            EXPECT_EQ(BattleState::money, moneyBefore + 10); // the castle's fall pays too
        }
        EXPECT_TRUE(battle->hudHidden);
        // The curtain rises from below for 2 s while the battle runs on.
        GameObject* wall = battle->endWall;
        ASSERT_TRUE(wall);
        float y = wall->position[1];
        RunFrames(10);
        EXPECT_FLOAT_EQ(wall->position[1], y + 100);
        int frames = 10 + FramesUntilLevelLeft();
        EXPECT_NEAR(frames, 120, 2);
        EXPECT_EQ(currentState, c.screen);
        LeaveGame();
    }
}

TEST_F(BattleCastleTest, ACastleDownedByRocksEndsTheBattleWithoutTheConsoleLine) {
    EnterQuietLevel();
    GameObject* castle = CastleNamed("EnemyDown");
    castle->health = 30;
    BattleState::money = 300;
    Click(CANNON);
    RunFramesUntil([] { return battle->catapultCooldown <= 0; }, 700);
    testing::internal::CaptureStdout();
    Click(CANNON);
    ASSERT_EQ(ObjectsNamed("Rock").size(), 1u);
    RunFrames(125);
    std::string console = testing::internal::GetCapturedStdout();
    EXPECT_LE(castle->health, 0);
    EXPECT_TRUE(BattleState::battleWon);
    EXPECT_TRUE(IsAlive(castle)); // not destroyed
    EXPECT_EQ(console.find("You win"), std::string::npos);
    FramesUntilLevelLeft();
    EXPECT_EQ(currentState, GS_WIN);
}

TEST_F(BattleCastleTest, BothCastlesFallingTogetherOrKLeadToTheWinScreen) {
    EnterQuietLevel();
    CastleNamed("EnemyDown")->health = 0;
    CastleNamed("AllieDown")->health = 0;
    RunFrames(1);
    EXPECT_TRUE(BattleState::battleWon && BattleState::battleLost);
    FramesUntilLevelLeft();
    EXPECT_EQ(currentState, GS_WIN);
    LeaveGame();
    EnterQuietLevel();
    TapKey('K');
    EXPECT_EQ(currentState, GS_WIN);
}
