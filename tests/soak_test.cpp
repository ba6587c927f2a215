// Soak: thirty simulated minutes of battle (108,000 frames on the stepped
// clock) with the enemy commander sending waves and the scripted player
// buying troops, thieves, upgrades, the catapult and its rocks, all in level
// 2 so that every stretch holds the same assets. A battle that ends starts
// again as a player can make it: Restart on the lose screen, S on the win
// screen. Objects, meshes, textures and busy channels stay bounded, and the
// heap in use at the start of each battle (the same fresh field every time)
// does not grow.
#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's runtime count (its header is not shipped with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "campaign_player.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"

using namespace campaign;

namespace {

constexpr int BATTLE_FRAMES = 108000; // thirty minutes at 60 frames per second
constexpr int MARK_FRAMES = 36000;    // ten minutes

// Bytes the allocator has handed out and not had back.
long HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return long(__sanitizer_get_current_allocated_bytes());
#else
    struct mallinfo2 info = mallinfo2();
    return long(info.uordblks + info.hblkhd);
#endif
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

TEST(SoakTest, ThirtyMinutesOfBattleStayBounded) {
    // Sounds end on the mixer's clock, frames run on the stepped one, some 50
    // times faster: on the real-time dummy driver every sound seemed to last
    // 50 times too long and the busy channels counted the machine's speed
    // (56 to 79). SDL's disk driver, writing to nowhere a buffer a
    // millisecond, keeps the mixer ahead: what stays busy never ends.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    StartTestEngine(false);
    ResetToProgramStart();
    house = HOUSE_WARRIORS;
    battleSeedOverride = 71;
    StartGame(GS_LEVEL2);
    WaitForIntro();
    std::vector<long> heapAtStart = {HeapInUse()};
    Peaks peaks[3];
    int battleFrames = 0;
    BattleLog total;
    BattlePlayer player;
    auto tally = [&] {
        total.troopsBought += player.log.troopsBought;
        total.thievesBought += player.log.thievesBought;
        total.upgradesBought += player.log.upgradesBought;
        total.rocksThrown += player.log.rocksThrown;
    };
    while (battleFrames < BATTLE_FRAMES) {
        if (!InBattle()) { // from an end screen back into a battle, as a player goes on
            tally();
            int32_t screen = currentState;
            RunFrames(1 + END_CURTAIN_FRAMES);
            if (screen == GS_WIN)
                TapKey('S');
            else
                Click(END_RIGHT); // Restart
            RunFramesUntil(InBattle, 300);
            ASSERT_EQ(currentState, GS_LEVEL2);
            WaitForIntro();
            heapAtStart.push_back(HeapInUse());
            player = BattlePlayer();
            continue;
        }
        int before = player.log.frames;
        player.Step();
        battleFrames += player.log.frames - before;
        peaks[std::min(battleFrames / MARK_FRAMES, 2)].Take();
    }
    tally();
    printf("[ soak ] %d battle frames, %zu battles, %d troops, %d thieves, %d upgrades, "
           "%d rocks\n[ soak ] heap in use at each battle's start (kB):",
           battleFrames, heapAtStart.size(), total.troopsBought, total.thievesBought,
           total.upgradesBought, total.rocksThrown);
    for (long bytes : heapAtStart)
        printf(" %ld", bytes / 1024);
    printf("\n[ soak ] busy channels at most, each ten minutes: %d %d %d\n", peaks[0].channels,
           peaks[1].channels, peaks[2].channels);

    // The player really played: it bought, upgraded, threw rocks.
    EXPECT_GT(total.troopsBought, 100);
    EXPECT_GT(total.thievesBought, 10);
    EXPECT_GT(total.upgradesBought, 0);
    EXPECT_GT(total.rocksThrown, 5);
    // Bounded: later stretches never need more than the first.
    for (int i = 0; i < 3; i++) {
        EXPECT_LE(peaks[i].meshes, peaks[0].meshes) << i;
        EXPECT_LE(peaks[i].textures, peaks[0].textures) << i;
        EXPECT_LE(peaks[i].objects, 400) << i;
        EXPECT_LE(peaks[i].channels, 64) << i;
    }
    // Memory does not grow: every battle after the second starts with no more
    // heap in use than the second did (the first end screen and the first
    // restart load a few things once); a leak of 3 bytes a frame would pass
    // the 256 kB allowed.
    ASSERT_GE(heapAtStart.size(), 4u) << "too few battles to compare";
    for (size_t i = 2; i < heapAtStart.size(); i++)
        EXPECT_LE(heapAtStart[i], heapAtStart[1] + (256 << 10)) << "battle " << i + 1;
    LeaveGame();
    StopTestEngine();
}

} // namespace
