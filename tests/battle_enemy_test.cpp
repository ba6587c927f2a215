// The enemy commander: each lane's first troop 1 to 4 whole seconds after the
// first purchase, each level's chances, waits and troop types over many
// seeded waves; a restart keeps the timetable.
#include "battle_helpers.h"

#include <map>
#include <set>

#include "battle/enemy_commander.h"

using namespace battle_test;

namespace {

class BattleEnemyTest : public BattleTest {};

} // namespace

TEST_F(BattleEnemyTest, FirstTroopOfEachLaneArrivesOneToFourSecondsAfterTheFirstPurchase) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    for (int i = 0; i < LEVEL_COUNT; i++)
        for (float interval : {StartRecord(i).downWaveInterval, StartRecord(i).upWaveInterval}) {
            EXPECT_GE(interval, 1);
            EXPECT_LE(interval, 4);
            EXPECT_EQ(interval, static_cast<float>(static_cast<int>(interval)));
        }
    const float up = battle->upWaveInterval;
    Click(THIEF); // a thief starts the battle too; pressed in this click's first frame
    int frames = 2 + RunFramesUntil([] { return !TroopsNamed("EnemyUp").empty(); }, 300);
    EXPECT_NEAR(frames, up * 60, 2);
    RunFramesUntil([] { return !TroopsNamed("EnemyDown").empty(); }, 300);
    ASSERT_FALSE(TroopsNamed("EnemyDown").empty());
    GameObject* enemy = TroopsNamed("EnemyDown")[0];
    EXPECT_EQ(enemy->position[1], -100);
    EXPECT_EQ(enemy->damage, 15);
}

TEST_F(BattleEnemyTest, WavesFollowEachLevelsChancesWaitsAndTypes) {
    // Each level's first follow-up chance (%) and its shortest and longest
    // wait between waves (whole seconds), as the player meets them.
    const struct {
        int chance, shortest, longest;
    } kLevels[LEVEL_COUNT] = {{20, 7, 26}, {30, 6, 21}, {45, 5, 16}};
    for (int index = 0; index < LEVEL_COUNT; index++) {
        const LevelTable& table = levelTables[index];
        const auto& expected = kLevels[index];
        EnterLevel(table.stateId, HOUSE_WORKERS, 777 + index);
        int firstDecisions = 0, firstFollowUps = 0, secondDecisions = 0, secondFollowUps = 0;
        std::set<int> waits;
        const int decisions = 3000;
        for (int i = 0; i < decisions; i++) {
            int32_t chance = battle->upFollowUpChance;
            battle->upWaveTimer = battle->upWaveInterval; // due now
            testing::internal::CaptureStdout();
            RunEnemyUpLane();
            std::string console = testing::internal::GetCapturedStdout();
            bool followUp = battle->upWaveInterval == 2 && battle->upWaveTimer > 0;
            EXPECT_EQ(followUp, console == "Spawn Again Up!\n");
            if (chance == expected.chance) {
                firstDecisions++;
                firstFollowUps += followUp;
            } else if (chance == expected.chance - 10) {
                secondDecisions++;
                secondFollowUps += followUp;
            }
            if (followUp) {
                EXPECT_EQ(battle->upFollowUpChance, std::max(chance - 10, 0));
            } else {
                EXPECT_EQ(battle->upFollowUpChance, expected.chance);
                waits.insert(static_cast<int>(battle->upWaveInterval));
            }
        }
        // The follow-up chance falls by 10 within a wave; r <= chance lets
        // chance + 1 rolls through.
        double first = double(firstFollowUps) / firstDecisions;
        EXPECT_NEAR(first, (expected.chance + 1) / 100.0, 0.04) << "level " << table.number;
        double second = double(secondFollowUps) / secondDecisions;
        EXPECT_NEAR(second, (expected.chance - 9) / 100.0, 0.06) << "level " << table.number;
        ASSERT_FALSE(waits.empty());
        EXPECT_EQ(*waits.begin(), expected.shortest) << "level " << table.number;
        EXPECT_EQ(*waits.rbegin(), expected.longest) << "level " << table.number;
        EXPECT_EQ(waits.size(), static_cast<size_t>(expected.longest - expected.shortest + 1));
        // One troop a decision, each type with an equal chance.
        std::map<std::string, int> types;
        for (GameObject* enemy : TroopsNamed("EnemyUp"))
            types[enemy->typeName]++;
        ASSERT_EQ(types.size(), 3u);
        for (auto& [type, count] : types)
            EXPECT_NEAR(count, decisions / 3, decisions / 12) << type;
        LeaveGame();
    }
}

TEST_F(BattleEnemyTest, ARestartKeepsTheTimetable) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    Click(KNIGHT_DOWN);
    RunFrames(20);
    const float downTimer = battle->downWaveTimer, upTimer = battle->upWaveTimer;
    const float down = battle->downWaveInterval, up = battle->upWaveInterval;
    TapKey('R');
    ASSERT_EQ(currentState, GS_LEVEL1);
    EXPECT_FALSE(battle->battleStarted);
    EXPECT_EQ(BattleState::money, 150);
    EXPECT_EQ(battle->downWaveInterval, down);
    EXPECT_EQ(battle->upWaveInterval, up);
    EXPECT_GT(battle->downWaveTimer, downTimer); // kept, not set back to 0
    EXPECT_GT(battle->upWaveTimer, upTimer);
    EXPECT_TRUE(TroopsNamed("EnemyUp").empty() && TroopsNamed("EnemyDown").empty());
}
