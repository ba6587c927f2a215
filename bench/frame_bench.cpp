// Frame pacing benchmark: the real frame loop (real clock, real waits) idling
// on an empty state for 10 seconds. Prints the median and 99th percentile of
// frameTime and the process's CPU use in percent of one core.
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/game_state.h"
#include "engine/file.h"
#include "engine/platform/platform.h"

// CPU seconds (user + system) used by this process so far.
static double ProcessCpuSeconds() {
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

// Value at fraction q of sorted samples.
static double Percentile(std::vector<double> samples, double q) {
    std::sort(samples.begin(), samples.end());
    return samples[(size_t)(q * (samples.size() - 1))];
}

int main(int argc, char** argv) {
    double seconds = argc > 1 ? atof(argv[1]) : 10.0;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SetGameBaseDir(MORROW_BUILD_DIR);
    PlatformSetMessageBoxesSilent(true);
    if (StartEngine(false) >= 0) return 1;
    AddGameState(1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EnterFirstState(1);
    StepGameStateManager(); // enter the state
    for (int i = 0; i < 30; i++) StepGameStateManager(); // warm up

    std::vector<double> frameTimes;
    double wallStart = GetTime();
    double cpuStart = ProcessCpuSeconds();
    while (GetTime() - wallStart < seconds) {
        StepGameStateManager();
        frameTimes.push_back(frameTime);
    }
    double wall = GetTime() - wallStart;
    double cpu = ProcessCpuSeconds() - cpuStart;
    ShutdownEngine();

    printf("Idle frame loop, %.1f s, %zu frames\n", wall, frameTimes.size());
    printf("  frameTime median: %.3f ms (target %.3f ms)\n", Percentile(frameTimes, 0.5) * 1e3,
           1e3 / 60.0);
    printf("  frameTime p99:    %.3f ms\n", Percentile(frameTimes, 0.99) * 1e3);
    printf("  CPU use:          %.1f %% of one core\n", 100.0 * cpu / wall);
    return 0;
}
