// A 200-troop battle: level 1 of the real game (real state manager, real
// frame loop with its 60 Hz waits, full screen at the display's 1920 by 1080,
// every pixel drawn) with 50 troops of each side in each lane, spawned and
// topped up between frames through the battle's own spawn functions. The
// level's Update and Draw run through timed stand-ins (bench/state_probe.h);
// just before the buffer swap glFinish waits for the software rasterizer, so
// the frame's pixel work is counted too. Prints the median and 99th
// percentile of the CPU time (CLOCK_PROCESS_CPUTIME_ID, all threads) of
// Update plus Draw per frame, with and without the rasterizer's finish.
// Usage: battle_bench [frames] [troops per side and lane, default 50] [stepped]
//   (needs a 1920x1080 display, e.g. Xvfb). "stepped": every frame is 1/60 s
//   of game time whatever it took (for counting instructions under a
//   profiler, whose slow frames would otherwise step every animation).
#include <GL/glew.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/settings.h"
#include "battle/battle_objects.h"
#include "battle/battle_state.h"
#include "bench/state_probe.h"
#include "engine/file.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/platform/platform.h"
#include "objects/game_object.h"
#include "screens/registry.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static int troopsPerLaneSide = 50; // 2 sides x 2 lanes x 50 = 200
static const float LANE_END_X = 510;
static const float FRONT_X = 110; // the front ranks at the start
static double finishCpu = 0;      // CPU seconds of the last frame's glFinish
static double finishWall = 0;
// Measured frames the window could not be seen in, or had lost the focus in
// (the level then pauses): nothing of the battle is drawn.
static int framesAside = 0;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Waits for the rasterizer to finish the frame's drawing, and times what
// followed the level's Draw: the batch's end of frame (the draws sent, the
// canvas shown) and the finish.
static void FinishBeforeSwap() {
    framesAside += !PlatformIsWindowVisible() || !PlatformIsWindowActive();
    glFinish();
    const ProbeTiming draw = LastProbeTiming(GS_LEVEL1, PROBE_DRAW);
    finishCpu = ProcessCpuSeconds() - draw.endProcess;
    finishWall = WallSeconds() - draw.endWall;
}

// Live troops of a side and lane ("AllieUp", "EnemyDown", ...).
static int CountTroops(const char* name) {
    int count = 0;
    for (GameObject* object : objectList)
        if (object && object->alive && object->name == name &&
            TroopTypeOfName(object->typeName) >= 0)
            count++;
    return count;
}

// Brings every side and lane back to its number of troops; the first fill
// ranks them from the lane's end to the front, later ones come in at the end.
static int TopUpTroops(bool firstFill) {
    int spawned = 0;
    for (bool upLane : {false, true})
        for (bool enemy : {false, true}) {
            const char* name =
                enemy ? (upLane ? "EnemyUp" : "EnemyDown") : (upLane ? "AllieUp" : "AllieDown");
            int have = CountTroops(name);
            for (int i = have; i < troopsPerLaneSide; i++) {
                TroopType type = (TroopType)(i % TROOP_TYPES);
                GameObject* troop =
                    enemy ? SpawnEnemyTroop(type, upLane) : SpawnPlayerTroop(type, upLane);
                if (!troop) continue;
                spawned++;
                if (firstFill) {
                    float step = (LANE_END_X - FRONT_X) / std::max(1, troopsPerLaneSide - 1);
                    float x = FRONT_X + step * i;
                    troop->position[0] = enemy ? x : -x;
                }
            }
        }
    return spawned;
}

// Runs one frame of the manager; false when the level was left.
static bool StepLevel() {
    StepGameStateManager();
    return currentState == GS_LEVEL1;
}

// A measured frame: its own function, so that a profiler can count it alone
// (valgrind --tool=callgrind --toggle-collect='StepMeasuredLevel*').
__attribute__((noinline)) bool StepMeasuredLevel() {
    return StepLevel();
}

int main(int argc, char** argv) {
    int frames = argc > 1 ? atoi(argv[1]) : 600;
    if (frames < 10) frames = 10;
    if (argc > 2) troopsPerLaneSide = std::max(1, atoi(argv[2]));
    if (argc > 3 && std::string(argv[3]) == "stepped") SetSteppedClock(true, 1.0 / 60.0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SetGameBaseDir(MORROW_BUILD_DIR);
    PlatformSetMessageBoxesSilent(true);
    // Without a window manager the focus goes where it will, and a level
    // whose window loses it pauses: only the bench's own events count.
    PlatformSetSyntheticInputOnly(true);
    int failure = StartEngine(true);
    if (failure >= 0) {
        fprintf(stderr, "battle_bench: the engine did not start (code %d)\n", failure);
        return 1;
    }
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    RegisterGameStates();
    house = HOUSE_NOBLEMEN;
    battleSeedOverride = 12345;
    EnterFirstState(GS_LEVEL1);
    for (int i = 0; i < 120; i++) // the opening curtain
        if (!StepLevel()) return 1;
    // Only our troops: the enemy commander waits, the castles hold.
    battle->downWaveInterval = battle->upWaveInterval = 1e9f;
    TopUpTroops(true);
    SetBeforeSwapHook(FinishBeforeSwap);
    for (int i = 0; i < 30; i++) { // warm-up: every troop has a frame behind it
        TopUpTroops(false);
        if (!StepLevel()) return 1;
    }
    framesAside = 0;

    std::vector<double> updateDraw, withFinish, mainThread, mainUpdate, wallFrame, wallDrawn;
    int objectsAtEnd = 0, spawnedDuring = 0, leastTroops = 1 << 30;
    for (int i = 0; i < frames; i++) {
        spawnedDuring += TopUpTroops(false);
        int troops = CountTroops("AllieUp") + CountTroops("AllieDown") + CountTroops("EnemyUp") +
                     CountTroops("EnemyDown");
        if (troops < leastTroops) leastTroops = troops;
        if (!StepMeasuredLevel()) {
            fprintf(stderr, "battle_bench: the battle ended after %d frames\n", i);
            break;
        }
        ProbeTiming update = LastProbeTiming(GS_LEVEL1, PROBE_UPDATE);
        ProbeTiming draw = LastProbeTiming(GS_LEVEL1, PROBE_DRAW);
        updateDraw.push_back((update.process + draw.process) * 1e3);
        withFinish.push_back((update.process + draw.process + finishCpu) * 1e3);
        mainThread.push_back((update.thread + draw.thread) * 1e3);
        mainUpdate.push_back(update.thread * 1e3);
        wallFrame.push_back((update.wall + draw.wall + finishWall) * 1e3);
        if (!BatchFrameHeld()) wallDrawn.push_back(wallFrame.back());
    }
    objectsAtEnd = (int)objectList.size();
    SetBeforeSwapHook(nullptr);
    nextState = GS_QUIT;
    while (StepGameStateManager()) {
    }
    ShutdownEngine();

    printf("%d-troop battle, level 1, %dx%d full screen, %zu frames (real 60 Hz frame loop)\n",
           4 * troopsPerLaneSide, width, height, updateDraw.size());
    printf("  troops on the field: at least %d each frame; %d spawned to keep the ranks full; "
           "%d objects at the end\n",
           leastTroops, spawnedDuring, objectsAtEnd);
    printf("  %-44s %8s %8s\n", "per frame, milliseconds", "median", "p99");
    printf("  %-44s %8.2f %8.2f\n", "CPU Update+Draw (process clock)", Percentile(updateDraw, 0.5),
           Percentile(updateDraw, 0.99));
    printf("  %-44s %8.2f %8.2f\n", "CPU Update+Draw+rasterizer finish (process)",
           Percentile(withFinish, 0.5), Percentile(withFinish, 0.99));
    printf("  %-44s %8.2f %8.2f\n", "CPU Update+Draw (main thread only)",
           Percentile(mainThread, 0.5), Percentile(mainThread, 0.99));
    printf("  %-44s %8.2f %8.2f\n", "  of it Update (main thread)", Percentile(mainUpdate, 0.5),
           Percentile(mainUpdate, 0.99));
    printf("  %-44s %8.2f %8.2f\n", "wall Update+Draw+finish", Percentile(wallFrame, 0.5),
           Percentile(wallFrame, 0.99));
    // Troops walk a step a frame but their pictures change at the sheets'
    // own rate: a frame where the packed ranks stand still repeats the last
    // and is held. The median over every frame falls on either side of that
    // split from run to run; the drawn frames' is stable.
    printf("  %-44s %8.2f %8.2f\n", "wall, frames drawn only", Percentile(wallDrawn, 0.5),
           Percentile(wallDrawn, 0.99));
    printf("  frames held (the same picture as the frame before): %zu of %zu\n",
           wallFrame.size() - wallDrawn.size(), wallFrame.size());
    printf("  (one frame at 60 Hz: %.2f ms)\n", 1e3 / 60.0);
    if (framesAside > 0)
        printf("  NOT COMPARABLE: %d frames hidden or paused (the battle was not drawn)\n",
               framesAside);
    return 0;
}
