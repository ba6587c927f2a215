// The enemy commander: one independent wave timetable per lane that sends a
// random troop type when its interval has passed, follows up within the wave
// by a falling chance and waits between waves by the level's range.
// Depends on the battle record, the troop spawn and rand().
#include "battle/enemy_commander.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/game_state.h"
#include "battle/battle_objects.h"

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

static const float FOLLOW_UP_INTERVAL = 2;
static const int32_t FOLLOW_UP_DROP = 10;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// One lane's step: wait, spawn, then continue or end the wave.
static void RunLane(float& timer, float& interval, int32_t& chance, bool upLane) {
    BattleState* state = battle;
    timer += static_cast<float>(frameTime);
    if (timer < interval) return;
    SpawnEnemyTroop(static_cast<TroopType>(rand() % 3), upLane);
    int roll = rand() % 100;
    if (roll <= chance) {
        chance = std::max(chance - FOLLOW_UP_DROP, 0);
        interval = FOLLOW_UP_INTERVAL;
        timer = static_cast<float>(frameTime);
        if (upLane) {
            std::puts("Spawn Again Up!");
            std::fflush(stdout);
        }
        return;
    }
    chance = state->baseFollowUpChance;
    timer = 0;
    const LevelTable* level = state->level ? state->level : &levelTables[0];
    interval = static_cast<float>(level->waveWaitBase + rand() % level->waveWaitRange);
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// The down-lane commander step.
void RunEnemyDownLane() {
    BattleState* s = battle;
    RunLane(s->downWaveTimer, s->downWaveInterval, s->downFollowUpChance, false);
}

// The up-lane commander step.
void RunEnemyUpLane() {
    BattleState* s = battle;
    RunLane(s->upWaveTimer, s->upWaveInterval, s->upFollowUpChance, true);
}
