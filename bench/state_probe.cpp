// Timed stand-ins for the state table's callbacks (see state_probe.h): the
// wrapped AddGameState keeps each state's real callbacks in a row and gives
// the manager one stand-in per row and callback, which times the real call.
// Depends on the state manager's AddGameState, the draw batch and the POSIX
// clocks.
#include "bench/state_probe.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <utility>

#include "app/game_state.h"

// ---------------------------------------------------------------------------
// Types and globals
// ---------------------------------------------------------------------------

namespace {

enum { MAX_ROWS = 32 };

struct ProbeRow {
    int32_t id = 0;
    StateCallback real[PROBE_SLOTS] = {};
    ProbeTiming last[PROBE_SLOTS];
};

ProbeRow rows[MAX_ROWS];
int rowCount = 0;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

double ClockSeconds(clockid_t clock) {
    timespec now = {};
    clock_gettime(clock, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// Runs the real callback of a row and keeps its times.
void RunTimed(int row, int slot) {
    ProbeRow& probe = rows[row];
    double wall = WallSeconds(), process = ProcessCpuSeconds(), thread = ThreadCpuSeconds();
    probe.real[slot]();
    ProbeTiming& last = probe.last[slot];
    last.endWall = WallSeconds();
    last.endProcess = ProcessCpuSeconds();
    last.wall = last.endWall - wall;
    last.process = last.endProcess - process;
    last.thread = ThreadCpuSeconds() - thread;
    last.calls++;
}

template <int Row, int Slot> void Timed() {
    RunTimed(Row, Slot);
}

// The stand-ins of every row and slot, made at compile time.
template <int Row, int... Slots>
constexpr auto RowOfStandIns(std::integer_sequence<int, Slots...>) {
    return std::array<StateCallback, PROBE_SLOTS>{Timed<Row, Slots>...};
}
template <int... Rows> constexpr auto StandInTable(std::integer_sequence<int, Rows...>) {
    return std::array<std::array<StateCallback, PROBE_SLOTS>, MAX_ROWS>{
        RowOfStandIns<Rows>(std::make_integer_sequence<int, PROBE_SLOTS>())...};
}
const auto standIns = StandInTable(std::make_integer_sequence<int, MAX_ROWS>());

} // namespace

// The real AddGameState and its wrapper (the linker's --wrap of its mangled name).
extern "C" void __real__Z12AddGameStateiPFvvES0_S0_S0_S0_S0_(int32_t, StateCallback, StateCallback,
                                                             StateCallback, StateCallback,
                                                             StateCallback, StateCallback);

// Registers the state with timed stand-ins for its non-null callbacks.
extern "C" void __wrap__Z12AddGameStateiPFvvES0_S0_S0_S0_S0_(int32_t id, StateCallback load,
                                                             StateCallback init,
                                                             StateCallback update,
                                                             StateCallback draw, StateCallback free,
                                                             StateCallback unload) {
    StateCallback real[PROBE_SLOTS] = {load, init, update, draw, free, unload};
    int row = 0;
    while (row < rowCount && rows[row].id != id)
        row++;
    if (row == rowCount) { // the first registration wins, as in the manager
        if (rowCount == MAX_ROWS) {
            fprintf(stderr, "state_probe: more than %d states, state %d not timed\n", MAX_ROWS, id);
            __real__Z12AddGameStateiPFvvES0_S0_S0_S0_S0_(id, load, init, update, draw, free,
                                                         unload);
            return;
        }
        rows[rowCount].id = id;
        std::copy(real, real + PROBE_SLOTS, rows[rowCount].real);
        rowCount++;
    }
    StateCallback timed[PROBE_SLOTS];
    for (int slot = 0; slot < PROBE_SLOTS; slot++)
        timed[slot] = rows[row].real[slot] ? standIns[row][slot] : nullptr;
    __real__Z12AddGameStateiPFvvES0_S0_S0_S0_S0_(id, timed[0], timed[1], timed[2], timed[3],
                                                 timed[4], timed[5]);
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Registered ids in order.
std::vector<int32_t> ProbedStates() {
    std::vector<int32_t> ids;
    for (int i = 0; i < rowCount; i++)
        ids.push_back(rows[i].id);
    return ids;
}

// Last call of a state's callback.
ProbeTiming LastProbeTiming(int32_t state, ProbeSlot slot) {
    for (int i = 0; i < rowCount; i++)
        if (rows[i].id == state) return rows[i].last[slot];
    return {};
}

double WallSeconds() {
    return ClockSeconds(CLOCK_MONOTONIC);
}
double ProcessCpuSeconds() {
    return ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
}
double ThreadCpuSeconds() {
    return ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
}

// Nearest-rank percentile of a copy of the samples.
double Percentile(std::vector<double> samples, double q) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    size_t rank = (size_t)(q * (samples.size() - 1) + 0.5);
    return samples[std::min(rank, samples.size() - 1)];
}
