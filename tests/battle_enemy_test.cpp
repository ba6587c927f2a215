// The enemy commander: nothing before the first purchase, each lane's first
// troop 1 to 4 s after it, each level's chances and waits over many seeded
// waves; a restart keeps the timetable and the lanes' exchange timers.
#include "battle_helpers.h"

#include <map>
#include <set>

#include "battle/enemy_commander.h"

using namespace battle_test;

namespace {

class BattleEnemyTest : public BattleTest {};

size_t EnemyTroops() {
    return TroopsNamed("EnemyUp").size() + TroopsNamed("EnemyDown").size();
}

} // namespace

TEST_F(BattleEnemyTest, FirstIntervalsAreWholeSecondsFromOneToFour) {
    for (int i = 0; i < LEVEL_COUNT; i++) {
        for (float interval : {StartRecord(i).downWaveInterval, StartRecord(i).upWaveInterval}) {
            EXPECT_GE(interval, 1);
            EXPECT_LE(interval, 4);
            EXPECT_EQ(interval, static_cast<float>(static_cast<int>(interval)));
        }
        EXPECT_EQ(StartRecord(i).downFollowUpChance, levelTables[i].followUpChance);
        EXPECT_EQ(StartRecord(i).baseFollowUpChance, levelTables[i].followUpChance);
    }
}

TEST_F(BattleEnemyTest, FirstTroopOfEachLaneArrivesOneToFourSecondsAfterTheFirstPurchase) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    RunFrames(240);
    EXPECT_EQ(EnemyTroops(), 0u); // nobody before the purchase
    battle->downWaveInterval = 3;
    battle->upWaveInterval = 1;
    Click(THIEF); // a thief starts the battle too; pressed in this click's first frame
    EXPECT_TRUE(battle->battleStarted);
    int upFrames = 2 + RunFramesUntil([] { return !TroopsNamed("EnemyUp").empty(); }, 400);
    EXPECT_NEAR(upFrames, 60, 2);
    int downFrames =
        upFrames + RunFramesUntil([] { return !TroopsNamed("EnemyDown").empty(); }, 400);
    EXPECT_NEAR(downFrames, 180, 2);
    GameObject* enemy = TroopsNamed("EnemyDown")[0];
    EXPECT_NEAR(enemy->position[0], 510 - 0.8f, 0.01f);
    EXPECT_EQ(enemy->position[1], -100);
    EXPECT_EQ(enemy->scale[0], -90);
    EXPECT_EQ(enemy->damage, 15);
}

TEST_F(BattleEnemyTest, EnemyTroopsAreOfEveryTypeWithEqualChance) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    std::map<std::string, int> types;
    for (int i = 0; i < 600; i++) {
        battle->downWaveTimer = battle->downWaveInterval; // due now
        RunEnemyDownLane();
    }
    for (GameObject* enemy : TroopsNamed("EnemyDown"))
        types[enemy->typeName]++;
    ASSERT_EQ(types.size(), 3u);
    for (auto& [type, count] : types) {
        EXPECT_GT(count, 150) << type;
        EXPECT_LT(count, 250) << type;
    }
}

TEST_F(BattleEnemyTest, WavesFollowEachLevelsChancesAndWaits) {
    for (int index = 0; index < LEVEL_COUNT; index++) {
        const LevelTable& table = levelTables[index];
        EnterLevel(table.stateId, HOUSE_WORKERS, 777 + index);
        int firstDecisions = 0, firstFollowUps = 0, secondDecisions = 0, secondFollowUps = 0;
        std::set<int> waits;
        const int decisions = 3000;
        for (int i = 0; i < decisions; i++) {
            int32_t chance = battle->upFollowUpChance;
            battle->upWaveTimer = battle->upWaveInterval;
            testing::internal::CaptureStdout();
            RunEnemyUpLane();
            std::string console = testing::internal::GetCapturedStdout();
            bool followUp = battle->upWaveInterval == 2 && battle->upWaveTimer > 0;
            EXPECT_EQ(followUp, console == "Spawn Again Up!\n");
            if (chance == table.followUpChance) {
                firstDecisions++;
                firstFollowUps += followUp;
            } else if (chance == table.followUpChance - 10) {
                secondDecisions++;
                secondFollowUps += followUp;
            }
            if (followUp) {
                EXPECT_EQ(battle->upFollowUpChance, std::max(chance - 10, 0));
            } else {
                EXPECT_EQ(battle->upFollowUpChance, table.followUpChance);
                EXPECT_EQ(battle->upWaveTimer, 0);
                waits.insert(static_cast<int>(battle->upWaveInterval));
            }
        }
        // The follow-up chance falls by 10 within a wave; r <= chance lets chance + 1 rolls
        // through.
        double first = double(firstFollowUps) / firstDecisions;
        EXPECT_NEAR(first, (table.followUpChance + 1) / 100.0, 0.04) << "level " << table.number;
        double second = double(secondFollowUps) / secondDecisions;
        EXPECT_NEAR(second, (table.followUpChance - 9) / 100.0, 0.06) << "level " << table.number;
        ASSERT_FALSE(waits.empty());
        EXPECT_EQ(*waits.begin(), table.waveWaitBase) << "level " << table.number;
        EXPECT_EQ(*waits.rbegin(), table.waveWaitBase + table.waveWaitRange - 1)
            << "level " << table.number;
        EXPECT_EQ(waits.size(), static_cast<size_t>(table.waveWaitRange));
        EXPECT_EQ(TroopsNamed("EnemyUp").size(), static_cast<size_t>(decisions));
        LeaveGame();
    }
}

TEST_F(BattleEnemyTest, PausingFreezesTheCommander) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    Click(KNIGHT_UP);
    float timer = battle->downWaveTimer;
    RunFrames(10);
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(BattleState::paused);
    float paused = battle->downWaveTimer;
    RunFrames(120);
    EXPECT_EQ(battle->downWaveTimer, paused);
    EXPECT_GT(paused, timer);
}

TEST_F(BattleEnemyTest, ARestartKeepsTheTimetableAndTheExchangeTimers) {
    EnterLevel(GS_LEVEL1, HOUSE_WORKERS);
    Click(KNIGHT_DOWN);
    RunFrames(20);
    battle->downWaveInterval = 17;
    battle->upWaveInterval = 2;
    battle->downFollowUpChance = 0;
    BattleState::downExchangeTimer = 37;
    BattleState::upExchangeTimer = 11;
    BattleState::upLaneClear = false;
    float downTimer = battle->downWaveTimer, upTimer = battle->upWaveTimer;
    float incomeTimer = battle->incomeTimer;
    nextState = GS_RESTART;
    RunFrames(2);
    ASSERT_EQ(currentState, GS_LEVEL1);
    EXPECT_FALSE(battle->battleStarted);
    EXPECT_EQ(BattleState::money, 150);
    // The frame that asked for the restart still ran the commander once.
    const float frame = 1.0f / 60;
    EXPECT_NEAR(battle->downWaveTimer, downTimer + frame, 1e-4);
    EXPECT_NEAR(battle->upWaveTimer, upTimer + frame, 1e-4);
    EXPECT_EQ(battle->downWaveInterval, 17);
    EXPECT_EQ(battle->upWaveInterval, 2);
    EXPECT_EQ(battle->downFollowUpChance, 0);
    EXPECT_EQ(BattleState::downExchangeTimer, 37);
    EXPECT_EQ(BattleState::upExchangeTimer, 11);
    EXPECT_FALSE(BattleState::upLaneClear); // left as it was
    EXPECT_TRUE(BattleState::downLaneClear);
    EXPECT_NEAR(battle->incomeTimer, incomeTimer + frame, 1e-4);
    EXPECT_EQ(EnemyTroops(), 0u);
}
