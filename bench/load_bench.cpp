// Load time of each screen: the engine started as the program starts it (full
// screen), the game's states registered by RegisterGameStates with timed
// stand-ins (bench/state_probe.h), and each state entered through the real
// state manager several times (Load, Init and one frame, then Free and Unload).
// Prints each screen's Load time: the first (cold) one and the median of the
// runs, in wall-clock and process CPU milliseconds; then what the first opening
// of each pause page adds in level 1 (the pictures read when first needed).
// Usage: load_bench [runs [screen]]   (needs a display; the dummy audio driver
// is used); a screen's name (e.g. "level 1") times that screen alone, for a
// profiler.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "battle/level_setup.h"
#include "bench/state_probe.h"
#include "engine/file.h"
#include "engine/platform/platform.h"
#include "screens/registry.h"

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

static const struct {
    int32_t id;
    const char* name;
} SCREEN_NAMES[] = {
    {GS_SPLASH, "splash"},
    {GS_MAIN_MENU, "main menu"},
    {GS_HOUSE_SELECT, "house select"},
    {GS_HOW_TO_PLAY, "how to play"},
    {GS_LOGO_CREDITS, "credits"},
    {GS_LEVEL1, "level 1"},
    {GS_LEVEL2, "level 2"},
    {GS_LEVEL3, "level 3"},
    {GS_WIN, "win"},
    {GS_LOSE, "lose"},
};

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

static const char* ScreenName(int32_t id) {
    for (const auto& screen : SCREEN_NAMES)
        if (screen.id == id) return screen.name;
    return "?";
}

// Enters a state (Load, Init, one frame) and leaves it (Free, Unload).
static void EnterAndLeave(int32_t id) {
    EnterFirstState(id);
    StepGameStateManager();
    nextState = GS_QUIT;
    while (StepGameStateManager()) {
    }
}

// The pictures each group of pause pages reads on its first opening, timed
// inside level 1 (entered as above), every group once per run.
static void TimePausePictures(int runs) {
    static const char* const GROUPS[] = {"pause scroll", "settings/exit", "how to play",
                                         "credits roll"};
    std::vector<double> wall[4];
    for (int run = 0; run < runs; run++) {
        EnterFirstState(GS_LEVEL1);
        StepGameStateManager();
        for (int group = 0; group < 4; group++) {
            const double start = GetTime();
            LoadPausePictures(static_cast<PausePictures>(group));
            wall[group].push_back((GetTime() - start) * 1e3);
        }
        nextState = GS_QUIT;
        while (StepGameStateManager()) {
        }
    }
    printf("First opening of a pause page in level 1 (%d runs, pictures read then)\n", runs);
    for (int group = 0; group < 4; group++)
        printf("  %-13s %10.1f %12.1f\n", GROUPS[group], wall[group][0],
               Percentile(wall[group], 0.5));
}

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    if (runs < 1) runs = 1;
    const std::string only = argc > 2 ? argv[2] : "";
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SetGameBaseDir(MORROW_BUILD_DIR);
    PlatformSetMessageBoxesSilent(true);
    int failure = StartEngine(true);
    if (failure >= 0) {
        fprintf(stderr, "load_bench: the engine did not start (code %d)\n", failure);
        return 1;
    }
    RegisterGameStates();

    printf("Screen Load times (%d runs each; real state manager, full screen)\n", runs);
    printf("  %-13s %10s %12s %12s\n", "screen", "first ms", "median ms", "median CPU");
    for (const auto& screen : SCREEN_NAMES) {
        if (!only.empty() && only != screen.name) continue;
        std::vector<double> wall, cpu;
        for (int run = 0; run < runs; run++) {
            EnterAndLeave(screen.id);
            ProbeTiming load = LastProbeTiming(screen.id, PROBE_LOAD);
            wall.push_back(load.wall * 1e3);
            cpu.push_back(load.process * 1e3);
        }
        printf("  %-13s %10.1f %12.1f %12.1f\n", ScreenName(screen.id), wall[0],
               Percentile(wall, 0.5), Percentile(cpu, 0.5));
    }
    // Every registered screen is timed: none left out of the list above.
    for (int32_t id : ProbedStates())
        if (std::string(ScreenName(id)) == "?") printf("  state %d: not in the list\n", id);
    if (only.empty()) TimePausePictures(runs);
    ShutdownEngine();
    return 0;
}
