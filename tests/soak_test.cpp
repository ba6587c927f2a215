// Soak: thirty simulated minutes of battle (108,000 frames on the stepped
// clock) with the enemy commander sending waves and the scripted player
// buying troops, thieves, upgrades, the catapult and its rocks, all in level
// 2 so that every stretch holds the same assets. A battle that ends starts
// again as a player can make it: Restart on the lose screen, S (straight to
// level 2) on the win screen. (R cannot restart a battle whose castle fell:
// the end flags survive the level's Init, so the curtain closes again.)
// Objects, meshes, textures and busy channels stay bounded, and the heap in
// use at the start of each battle (the same fresh field every time) does not
// grow. Resident memory is printed but not judged: the allocator and the
// software renderer keep or return whole arenas as they please, so it moved
// by tens of megabytes from run to run without a single leaked byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's runtime count (its header is not shipped with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif
#include <unistd.h>
#include <vector>

#include "campaign_player.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"

using namespace campaign;

namespace {

constexpr int BATTLE_FRAMES = 108000; // thirty minutes at 60 frames per second
constexpr int MARK_FRAMES = 36000;    // ten minutes

// Resident pages of this process (second field of /proc/self/statm).
long ResidentPages() {
    FILE* file = fopen("/proc/self/statm", "r");
    if (!file) return -1;
    long size = 0, resident = -1;
    if (fscanf(file, "%ld %ld", &size, &resident) != 2) resident = -1;
    fclose(file);
    return resident;
}

// Bytes the allocator has handed out and not had back: glibc's arenas and its
// own mappings, or AddressSanitizer's allocator in the sanitized build.
long HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return long(__sanitizer_get_current_allocated_bytes());
#else
    struct mallinfo2 info = mallinfo2();
    return long(info.uordblks + info.hblkhd);
#endif
}

bool InBattle() {
    return currentState == GS_LEVEL1 || currentState == GS_LEVEL2 || currentState == GS_LEVEL3;
}

// The largest values seen in a stretch of battle.
struct Peaks {
    int objects = 0, meshes = 0, textures = 0, channels = 0;
    void Take() {
        objects = std::max(objects, ObjectCount());
        meshes = std::max(meshes, MeshCount());
        textures = std::max(textures, TextureCount());
        channels = std::max(channels, BusyChannelCount());
    }
};

// From an end screen back into a battle, as a player goes on.
void GoOnAfterTheEnd() {
    int32_t screen = currentState;
    RunFrames(1); // the end screen's Load and Init
    RunFrames(END_CURTAIN_FRAMES);
    if (screen == GS_WIN)
        TapKey('S');
    else
        Click(END_RIGHT); // Restart
    RunFramesUntil(InBattle, 300);
    ASSERT_EQ(currentState, GS_LEVEL2);
    RunFrames(1);
    RunFramesUntil(IntroGone, 200);
}

TEST(SoakTest, ThirtyMinutesOfBattleStayBounded) {
    StartTestEngine(false);
    ResetToProgramStart();
    house = HOUSE_WARRIORS;
    battleSeedOverride = 71;
    StartGame(GS_LEVEL2);
    RunFrames(1);
    RunFramesUntil(IntroGone, 200);
    auto started = std::chrono::steady_clock::now();
    std::vector<long> heapAtStart = {HeapInUse()};

    long pageKb = sysconf(_SC_PAGESIZE) / 1024;
    long resident[4] = {ResidentPages(), 0, 0, 0};
    Peaks peaks[3];
    int battleFrames = 0, battles = 1, wins = 0, losses = 0, troops = 0, thieves = 0, upgrades = 0,
        rocks = 0, catapults = 0;
    BattlePlayer player;
    while (battleFrames < BATTLE_FRAMES) {
        if (!InBattle()) {
            wins += currentState == GS_WIN;
            losses += currentState == GS_LOSE;
            troops += player.log.troopsBought;
            thieves += player.log.thievesBought;
            upgrades += player.log.upgradesBought;
            rocks += player.log.rocksThrown;
            catapults += player.log.catapultBought;
            GoOnAfterTheEnd();
            ASSERT_TRUE(InBattle());
            heapAtStart.push_back(HeapInUse());
            player = BattlePlayer();
            battles++;
            continue;
        }
        int before = player.log.frames;
        player.Step();
        battleFrames += player.log.frames - before;
        peaks[std::min(battleFrames / MARK_FRAMES, 2)].Take();
        for (int mark = 1; mark <= 3; mark++)
            if (battleFrames >= mark * MARK_FRAMES && resident[mark] == 0)
                resident[mark] = ResidentPages();
    }
    if (resident[3] == 0) resident[3] = ResidentPages();
    troops += player.log.troopsBought;
    thieves += player.log.thievesBought;
    upgrades += player.log.upgradesBought;
    rocks += player.log.rocksThrown;
    catapults += player.log.catapultBought;
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    printf("[ soak ] %d battle frames in %.1f s: %d battles (%d won, %d lost), %d troops, "
           "%d thieves, %d upgrades, %d catapults, %d rocks\n",
           battleFrames, seconds, battles, wins, losses, troops, thieves, upgrades, catapults,
           rocks);
    for (int i = 0; i < 3; i++)
        printf(
            "[ soak ] minutes %2d-%2d: peak %d objects, %d meshes, %d textures, %d busy channels; "
            "resident %ld kB at the end\n",
            i * 10, i * 10 + 10, peaks[i].objects, peaks[i].meshes, peaks[i].textures,
            peaks[i].channels, resident[i + 1] * pageKb);
    printf("[ soak ] resident at the start %ld kB\n", resident[0] * pageKb);
    printf("[ soak ] heap in use at each battle's start (kB):");
    for (long bytes : heapAtStart)
        printf(" %ld", bytes / 1024);
    printf("\n");

    // The player really played: it bought, upgraded, threw rocks.
    EXPECT_GT(troops, 100);
    EXPECT_GT(thieves, 10);
    EXPECT_GT(upgrades, 0);
    EXPECT_GT(rocks, 5);
    // Bounded: later stretches never need more than the first.
    for (int i = 1; i < 3; i++) {
        EXPECT_LE(peaks[i].meshes, peaks[0].meshes) << i;
        EXPECT_LE(peaks[i].textures, peaks[0].textures) << i;
        EXPECT_LE(peaks[i].objects, 400) << i;
        EXPECT_LE(peaks[i].channels, 64) << i;
    }
    EXPECT_LE(peaks[0].objects, 400);
    EXPECT_LE(peaks[0].channels, 64);
    // Memory does not grow: every battle after the second starts with no more
    // heap in use than the second did (the first end screen and the first
    // restart load a few things once). It holds steady to within about 10 kB;
    // a leak of 3 bytes a frame would pass the 256 kB allowed.
    ASSERT_GE(heapAtStart.size(), 4u) << "too few battles to compare";
    const long allowed = 256 << 10;
    for (size_t i = 2; i < heapAtStart.size(); i++)
        EXPECT_LE(heapAtStart[i], heapAtStart[1] + allowed) << "battle " << i + 1;

    nextState = GS_QUIT;
    RunFrames(1);
    RestoreWindowAndInput();
    StopTestEngine();
}

} // namespace
