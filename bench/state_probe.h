// Timing of the game's real screens through the state table. Benchmarks link
// with the linker's --wrap of AddGameState (see bench/CMakeLists.txt): every
// state the game registers (RegisterGameStates) goes into the table with timed
// stand-ins that call the real callbacks, so the real state manager runs the
// real screens and each call's wall and CPU time is kept. Also the clocks the
// benchmarks read. Depends on the state manager's table (app/game_state.h).
#pragma once

#include <cstdint>
#include <vector>

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

enum ProbeSlot { PROBE_LOAD, PROBE_INIT, PROBE_UPDATE, PROBE_DRAW, PROBE_FREE, PROBE_UNLOAD };
enum { PROBE_SLOTS = 6 };

// Times of one call of a callback, in seconds.
struct ProbeTiming {
    double wall = 0;                    // monotonic clock
    double process = 0;                 // CLOCK_PROCESS_CPUTIME_ID: every thread of the process
    double thread = 0;                  // CLOCK_THREAD_CPUTIME_ID: the main thread only
    int64_t calls = 0;                  // calls so far
    double endWall = 0, endProcess = 0; // both clocks as the callback returned
};

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// The state ids registered so far, in registration order.
std::vector<int32_t> ProbedStates();
// The last call of a state's callback (zero when it never ran).
ProbeTiming LastProbeTiming(int32_t state, ProbeSlot slot);

// Seconds on the monotonic clock, the process's CPU clock and this thread's.
double WallSeconds();
double ProcessCpuSeconds();
double ThreadCpuSeconds();

// Value at fraction q (0..1) of the samples, nearest rank.
double Percentile(std::vector<double> samples, double q);
