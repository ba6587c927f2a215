// House selection (state 8) driven as a player drives it: pointing at a house
// shows its panel and lit selector, a click stores `house`, the curtain
// closes and level 1 starts two seconds later. Real screens through the state
// manager on the stepped clock; flags, objects and pixels read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/settings.h"
#include "engine/audio/sound.h"
#include "engine/graphics/texture.h"
#include "harness/harness.h"
#include "objects/game_object.h"
#include "screens/house_select.h"
#include "screens/main_menu.h"
#include "screens/ui.h"

namespace {

// One house on the screen: its selector, its panel and their pictures.
struct HouseOnScreen {
    float x;
    const char* selector;
    const char* panel;
    const char* idlePicture;
    const char* litPicture;
};
const HouseOnScreen HOUSES[4] = {
    {-500, "Nobelmen", "NoblemenPanel", "NoblemenSelector.png", "NoblemenSelectorPressed.png"},
    {-150, "Workers", "WorkerPanel", "WorkersSelector.png", "WorkersSelectorPressed.png"},
    {180, "Wisemen", "WisemenPanel", "WisemenSelector.png", "WisemenSelectorPressed.png"},
    {500, "Warriors", "WarriorPanel", "WarriorsSelector.png", "WarriorsSelectorPressed.png"},
};
constexpr float SELECTOR_Y = 100;
constexpr float PANEL_Y = -200;

void Hover(float x, float y) {
    MoveCursorToDesign(x, y);
    RunFrames(1);
}

bool InLevel1() {
    return currentState == GS_LEVEL1;
}

// Leaves the running game the way the game does (Free and Unload run) and
// puts the clock, sounds and input back as a new test expects them.
void LeaveGame() {
    if (!GameHasQuit()) {
        nextState = GS_QUIT;
        RunFrames(1);
    }
    StopAllSounds();
    MouseUp();
    SetSteppedClock(true, 1.0 / 60.0);
    RunFrames(1);
}

// Starts a new game at the house selection, `house` at `startHouse`.
void EnterHouseSelection(uint8_t startHouse) {
    house = startHouse;
    menuMusicStarted = false;
    menuMusicReleased = true; // the menu's tracks are not loaded here
    StartGame(GS_HOUSE_SELECT);
    RunFrames(1);
}

// One engine for the whole suite; every test starts a new game on it.
class HouseSelectTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartTestEngine(false); }
    static void TearDownTestSuite() { StopTestEngine(); }
    void SetUp() override {
        EnterHouseSelection(HOUSE_NOBLEMEN);
        ASSERT_EQ(currentState, GS_HOUSE_SELECT);
    }
    void TearDown() override { LeaveGame(); }
};

// ---------------------------------------------------------------------------
// Pointing
// ---------------------------------------------------------------------------

TEST_F(HouseSelectTest, InitMakesTheScreenAndKeepsTheMenuTrack) {
    EXPECT_TRUE(menuMusicStarted);
    EXPECT_FALSE(houseChosen);
    EXPECT_NE(FindObject("Background"), nullptr);
    EXPECT_NE(FindObject("ChooseText"), nullptr);
    EXPECT_NE(FindObject("Cursor"), nullptr);
    ASSERT_EQ(ObjectsNamed("Wall").size(), 2u);
    // The panels made visible by Init are hidden by the first Update.
    for (const HouseOnScreen& h : HOUSES)
        EXPECT_FALSE(FindObject(h.panel)->visible) << h.panel;
}

TEST_F(HouseSelectTest, PointingShowsOnlyThatHousesPanelAndLitSelector) {
    for (const HouseOnScreen& pointed : HOUSES) {
        Hover(pointed.x, SELECTOR_Y);
        for (const HouseOnScreen& h : HOUSES) {
            bool same = &h == &pointed;
            EXPECT_EQ(FindObject(h.panel)->visible, same) << pointed.selector << " / " << h.panel;
            EXPECT_EQ(PictureOf(h.selector), same ? h.litPicture : h.idlePicture)
                << pointed.selector << " / " << h.selector;
        }
    }
    // Moving away hides it again; pointing at a panel shows nothing.
    Hover(HOUSES[2].x, PANEL_Y);
    for (const HouseOnScreen& h : HOUSES) {
        EXPECT_FALSE(FindObject(h.panel)->visible) << h.panel;
        EXPECT_EQ(PictureOf(h.selector), h.idlePicture);
    }
}

TEST_F(HouseSelectTest, ThePointedPanelIsDrawnAndHiddenAgain) {
    RunFrames(85); // the opening curtain has dropped away
    Hover(0, -330);
    Screenshot away = CaptureFrame();
    Hover(HOUSES[2].x, SELECTOR_Y);
    Screenshot pointed = CaptureFrame();
    int changed = 0;
    for (float x = HOUSES[2].x - 140; x <= HOUSES[2].x + 140; x += 20)
        for (float y = PANEL_Y - 140; y <= PANEL_Y + 140; y += 20)
            changed += away.AtDesign(x, y) != pointed.AtDesign(x, y);
    EXPECT_GT(changed, 20) << "the Wisemen panel is not drawn";
    // Nothing changes under the other houses' panels.
    for (float x = HOUSES[0].x - 100; x <= HOUSES[0].x + 100; x += 20)
        EXPECT_EQ(away.AtDesign(x, PANEL_Y), pointed.AtDesign(x, PANEL_Y));
}

// ---------------------------------------------------------------------------
// Choosing
// ---------------------------------------------------------------------------

TEST_F(HouseSelectTest, WorkersThenWarriorsWithinTwoSecondsStartsLevelOneWithWarriors) {
    ClickDesign(HOUSES[1].x, SELECTOR_Y);
    EXPECT_TRUE(houseChosen);
    EXPECT_EQ(house, HOUSE_WORKERS);
    RunFrames(40);
    ClickDesign(HOUSES[3].x, SELECTOR_Y);
    EXPECT_EQ(house, HOUSE_WARRIORS);
    EXPECT_EQ(currentState, GS_HOUSE_SELECT);
    // The second click does not restart the timer: 120 frames from the first.
    int more = RunFramesUntil(InLevel1, 200);
    int total = 2 + 40 + 2 + more;
    EXPECT_GE(total, 119);
    EXPECT_LE(total, 123);
    EXPECT_EQ(currentState, GS_LEVEL1);
    EXPECT_EQ(previousState, GS_HOUSE_SELECT);
    EXPECT_EQ(house, HOUSE_WARRIORS);
}

TEST_F(HouseSelectTest, ClosingCurtainReachesTheCentreAfter80FramesAndStopsAtTen) {
    auto walls = ObjectsNamed("Wall");
    ASSERT_EQ(walls.size(), 2u);
    GameObject* closing = walls[1];
    EXPECT_FLOAT_EQ(closing->position[1], -800);
    MoveCursorToDesign(HOUSES[0].x, SELECTOR_Y);
    MouseDown();
    RunFrames(1); // the click is seen after this frame's curtain step
    MouseUp();
    EXPECT_FLOAT_EQ(closing->position[1], -800);
    RunFrames(80);
    EXPECT_FLOAT_EQ(closing->position[1], 0);
    RunFrames(1);
    EXPECT_FLOAT_EQ(closing->position[1], 10);
    RunFrames(20);
    EXPECT_FLOAT_EQ(closing->position[1], 10);
    EXPECT_EQ(currentState, GS_HOUSE_SELECT);
    SaveShot("house_curtain_closed");
}

TEST_F(HouseSelectTest, TheChangeComesAfterTwoSecondsWhateverTheFrameRate) {
    LeaveGame();
    SetSteppedClock(true, 1.0 / 30.0);
    EnterHouseSelection(HOUSE_NOBLEMEN);
    RunFrames(1);
    ClickDesign(HOUSES[2].x, SELECTOR_Y);
    int more = RunFramesUntil(InLevel1, 200);
    int total = 2 + more;
    EXPECT_GE(total, 59);
    EXPECT_LE(total, 63);
    EXPECT_EQ(house, HOUSE_WISEMEN);
}

TEST_F(HouseSelectTest, WithoutAClickHouseKeepsItsValueAndTheScreenStays) {
    LeaveGame();
    EnterHouseSelection(HOUSE_WISEMEN);
    for (const HouseOnScreen& h : HOUSES) {
        Hover(h.x, SELECTOR_Y);
        RunFrames(30);
    }
    // A click beside the selectors chooses nothing either.
    ClickDesign(0, -330);
    ClickDesign(HOUSES[0].x, PANEL_Y);
    RunFrames(100);
    EXPECT_EQ(house, HOUSE_WISEMEN);
    EXPECT_FALSE(houseChosen);
    EXPECT_EQ(currentState, GS_HOUSE_SELECT);
    // M still returns to the menu.
    TapKey('M');
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    EXPECT_EQ(house, HOUSE_WISEMEN);
}

TEST_F(HouseSelectTest, Screenshots) {
    SaveShot("house_opening_curtain");
    RunFrames(85);
    Hover(0, -330);
    SaveShot("house_idle");
    const char* names[] = {"house_hover_noblemen", "house_hover_workers", "house_hover_wisemen",
                           "house_hover_warriors"};
    for (int i = 0; i < 4; ++i) {
        Hover(HOUSES[i].x, SELECTOR_Y);
        SaveShot(names[i]);
    }
}

} // namespace
