// The state manager's orders (first entry, change, restart, quit, Init asking for
// another state, an unregistered number, a double registration, a window close),
// and the frames' pacing on the real clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/game_state.h"
#include "harness/harness.h"

namespace {

std::vector<std::string> calls;
int32_t initRequest = 0;   // state that state 20's Init asks for (0: none)
int32_t updateRequest = 0; // state that state 20's Update writes every frame (0: none)

// Callback `KIND` of state `ID` logs itself; state 20's Init and Update ask as set above.
template <int ID, int KIND> void Callback() {
    static const char* const names[] = {"Load", "Init", "Update", "Draw", "Free", "Unload"};
    calls.push_back(names[KIND] + std::to_string(ID));
    const int32_t request = KIND == 1 ? initRequest : KIND == 2 ? updateRequest : 0;
    if (ID == 20 && request) nextState = request;
}
// Registers state `ID` with the callbacks of state `AS`.
template <int ID, int AS = ID> void Register() {
    AddGameState(ID, Callback<AS, 0>, Callback<AS, 1>, Callback<AS, 2>, Callback<AS, 3>,
                 Callback<AS, 4>, Callback<AS, 5>);
}

using Calls = std::vector<std::string>;

class StateManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTestEngine();
        ClearStates();
        calls.clear();
        initRequest = updateRequest = 0;
        Register<20>();
        Register<21>();
        Register<21, 22>(); // a second registration of a number is ignored
        EnterFirstState(20);
    }
    void TearDown() override { StopTestEngine(); }
    // A fresh engine and manager for the next case of a test.
    void Restart() {
        TearDown();
        SetUp();
    }
    // Steps the manager `steps` times, stopping at the quit.
    bool Step(int steps) {
        for (int i = 0; i < steps; i++)
            if (!StepGameStateManager()) return false;
        return true;
    }
};

TEST_F(StateManagerTest, FirstEntryAChangeAndAnInitAskingForAnotherState) {
    Step(1);
    updateRequest = 21; // the frame of 20 asks for 21: Free20, Unload20, then 21 enters
    Step(2);
    EXPECT_EQ(calls, (Calls{"Load20", "Init20", "Update20", "Draw20", "Update20", "Draw20",
                            "Free20", "Unload20", "Load21", "Init21", "Update21", "Draw21"}));
    EXPECT_EQ(currentState, 21);
    EXPECT_EQ(previousState, 20);
    Restart();
    initRequest = 21; // no frame of 20 runs
    Step(2);
    EXPECT_EQ(calls, (Calls{"Load20", "Init20", "Free20", "Unload20", "Load21", "Init21",
                            "Update21", "Draw21"}));
}

TEST_F(StateManagerTest, RestartQuitAndAnUnregisteredNumber) {
    const struct {
        int32_t request;
        int steps;
        Calls expected;
        int32_t state;
    } cases[] = {
        {GS_RESTART, 2, {"Update20", "Draw20", "Free20", "Init20", "Update20", "Draw20"}, 20},
        {GS_QUIT, 2, {"Update20", "Draw20", "Free20", "Unload20"}, GS_QUIT},
        // State 20's Load and Init run again, now under the number 99.
        {99, 2, {"Update20", "Draw20", "Free20", "Unload20", "Load20", "Init20"}, 99},
    };
    for (const auto& c : cases) {
        Restart();
        Step(1);
        calls.clear();
        updateRequest = c.request;
        const bool running = Step(c.steps);
        calls.resize(std::min(c.expected.size(), calls.size()));
        EXPECT_EQ(calls, c.expected) << c.request;
        EXPECT_EQ(currentState, c.state);
        EXPECT_EQ(running, c.request != GS_QUIT);
        if (c.request == GS_RESTART) {
            EXPECT_EQ(previousState, 20); // unchanged by a restart
        }
    }
}

TEST_F(StateManagerTest, AWindowCloseEndsAfterThatFrameUnlessUpdateOverridesIt) {
    Step(1);
    calls.clear();
    CloseWindow();
    EXPECT_FALSE(Step(1));
    EXPECT_EQ(calls, (Calls{"Update20", "Draw20", "Free20", "Unload20"}));
    EXPECT_FALSE(StepGameStateManager()); // stays ended
    Restart();
    Step(1);
    updateRequest = 20; // the state keeps asking to stay
    CloseWindow();
    EXPECT_TRUE(Step(3));
    updateRequest = 0;
    EXPECT_FALSE(Step(1)); // the next frame's request to quit stands
}

TEST_F(StateManagerTest, FramesOnTheRealClockLastTheirMinimumAndLittleMore) {
    SetSteppedClock(false, 0);
    double total = 0;
    for (int frame = 0; frame < 20; frame++) {
        Step(1);
        EXPECT_GE(frameTime, frameTimeMin) << frame;
        EXPECT_DOUBLE_EQ(frameRate, 1.0 / frameTime);
        total += frameTime;
    }
    EXPECT_LT(total / 20, 2 * frameTimeMin); // slept, not overslept
}

} // namespace
