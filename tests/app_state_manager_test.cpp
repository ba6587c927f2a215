// The state manager's orders (first entry, change, restart, quit, Init asking for
// another state, an unregistered number, a double registration, a window close)
// and the frame timing on the stepped clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "harness/harness.h"

namespace {

std::vector<std::string> calls;
int32_t initRequest = 0;   // state that state 20's Init asks for (0: none)
int32_t updateRequest = 0; // state that state 20's Update writes every frame (0: none)

void Log(const char* what, int id) {
    calls.push_back(std::string(what) + std::to_string(id));
}

#define STATE_CALLBACKS(ID)                                                                        \
    void Load##ID() {                                                                              \
        Log("Load", ID);                                                                           \
    }                                                                                              \
    void Init##ID() {                                                                              \
        Log("Init", ID);                                                                           \
        if (ID == 20 && initRequest) nextState = initRequest;                                      \
    }                                                                                              \
    void Update##ID() {                                                                            \
        Log("Update", ID);                                                                         \
        if (ID == 20 && updateRequest) nextState = updateRequest;                                  \
    }                                                                                              \
    void Draw##ID() {                                                                              \
        Log("Draw", ID);                                                                           \
    }                                                                                              \
    void Free##ID() {                                                                              \
        Log("Free", ID);                                                                           \
    }                                                                                              \
    void Unload##ID() {                                                                            \
        Log("Unload", ID);                                                                         \
    }

STATE_CALLBACKS(20)
STATE_CALLBACKS(21)
STATE_CALLBACKS(22)

class StateManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTestEngine();
        ClearStates();
        calls.clear();
        initRequest = updateRequest = 0;
        AddGameState(20, Load20, Init20, Update20, Draw20, Free20, Unload20);
        AddGameState(21, Load21, Init21, Update21, Draw21, Free21, Unload21);
        AddGameState(22, Load22, Init22, Update22, Draw22, Free22, Unload22);
        EnterFirstState(20);
    }
    void TearDown() override { StopTestEngine(); }

    // Steps the manager `frames` times, stopping at the quit.
    bool Step(int steps) {
        for (int i = 0; i < steps; i++)
            if (!StepGameStateManager()) return false;
        return true;
    }
    // After a first frame of 20, `steps` frames with its Update asking for `request`
    // (0: none): the first `count` calls of those (all when the order repeats).
    std::vector<std::string> CallsAfter(int32_t request, int steps, size_t count) {
        Step(1);
        calls.clear();
        updateRequest = request;
        running = Step(steps);
        calls.resize(std::min(count, calls.size()));
        return calls;
    }
    bool running = true;
    using Calls = std::vector<std::string>;
};

TEST_F(StateManagerTest, FirstEntryLoadsAndInitsThenAChangeFreesUnloadsLoadsAndInits) {
    Step(2);
    updateRequest = 21;
    Step(1); // frame of 20 asks for 21: Free20, Unload20
    Step(1); // entering 21 and its first frame
    EXPECT_EQ(calls,
              (Calls{"Load20", "Init20", "Update20", "Draw20", "Update20", "Draw20", "Update20",
                     "Draw20", "Free20", "Unload20", "Load21", "Init21", "Update21", "Draw21"}));
    EXPECT_EQ(currentState, 21);
    EXPECT_EQ(previousState, 20);
}

TEST_F(StateManagerTest, RestartRunsFreeAndInitOnly) {
    EXPECT_EQ(CallsAfter(GS_RESTART, 2, 6),
              (Calls{"Update20", "Draw20", "Free20", "Init20", "Update20", "Draw20"}));
    EXPECT_EQ(currentState, 20);
    EXPECT_EQ(previousState, 20); // unchanged by a restart
}

TEST_F(StateManagerTest, QuitFreesAndUnloadsThenEnds) {
    EXPECT_EQ(CallsAfter(GS_QUIT, 1, 9), (Calls{"Update20", "Draw20", "Free20", "Unload20"}));
    EXPECT_FALSE(running);
    EXPECT_EQ(currentState, GS_QUIT);
    EXPECT_FALSE(StepGameStateManager()); // stays ended
}

TEST_F(StateManagerTest, InitAskingForAnotherStateRunsNoFrame) {
    initRequest = 21;
    Step(2);
    EXPECT_EQ(calls, (Calls{"Load20", "Init20", "Free20", "Unload20", "Load21", "Init21",
                            "Update21", "Draw21"}));
}

TEST_F(StateManagerTest, UnregisteredNumberKeepsThePreviousCallbacks) {
    // State 20's Load and Init run again, now under the number 99.
    EXPECT_EQ(CallsAfter(99, 2, 6),
              (Calls{"Update20", "Draw20", "Free20", "Unload20", "Load20", "Init20"}));
    EXPECT_EQ(currentState, 99);
}

TEST_F(StateManagerTest, SecondRegistrationOfANumberIsIgnored) {
    AddGameState(21, Load22, Init22, Update22, Draw22, Free22, Unload22);
    updateRequest = 21;
    Step(3);
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Init21"), calls.end());
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "Init22"), calls.end());
}

TEST_F(StateManagerTest, WindowCloseEndsAfterThatFramesUpdateAndDraw) {
    Step(1);
    calls.clear();
    CloseWindow();
    EXPECT_FALSE(Step(1));
    EXPECT_EQ(calls, (Calls{"Update20", "Draw20", "Free20", "Unload20"}));
}

TEST_F(StateManagerTest, UpdateOverridingTheCloseDelaysItOneFrameAtATime) {
    Step(1);
    updateRequest = 20; // the state keeps asking to stay
    CloseWindow();
    EXPECT_TRUE(Step(3)); // the close is overridden every frame
    updateRequest = 0;
    EXPECT_FALSE(Step(1)); // the next frame's request to quit stands
}

TEST_F(StateManagerTest, SteppedClockGivesOneUnitPerFrame) {
    int before = frameCounter;
    Step(10);
    EXPECT_EQ(frameCounter - before, 10);
    EXPECT_DOUBLE_EQ(frameTime, 1.0 / 60.0);
    EXPECT_NEAR(frameRate * frameTime, 1.0, 1e-12);
}

} // namespace
