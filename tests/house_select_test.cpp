// House selection (state 8): pointing at a house shows its panel and lit
// selector, a click stores `house`, the curtain closes and level 1 starts two
// seconds later.
#include <gtest/gtest.h>

#include "app/global_keys.h"
#include "app/settings.h"
#include "harness/screen_helpers.h"
#include "screens/house_select.h"
#include "screens/main_menu.h"
#include "screens/ui.h"

using namespace screen_test;

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
    Hover(Point{x, y});
}

bool InLevel1() {
    return currentState == GS_LEVEL1;
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
    RunFrames(85); // the opening curtain has dropped away
    Hover(0, -330);
    Screenshot away = CaptureShot("house_idle");
    const char* shots[] = {"house_hover_noblemen", "house_hover_workers", "house_hover_wisemen",
                           "house_hover_warriors"};
    for (const HouseOnScreen& pointed : HOUSES) {
        Hover(pointed.x, SELECTOR_Y);
        for (const HouseOnScreen& h : HOUSES) {
            bool same = &h == &pointed;
            EXPECT_EQ(FindObject(h.panel)->visible, same) << pointed.selector << " / " << h.panel;
            EXPECT_EQ(PictureOf(h.selector), same ? h.litPicture : h.idlePicture)
                << pointed.selector << " / " << h.selector;
        }
        // The pointed panel is drawn; nothing changes under the other houses' panels.
        Screenshot shot = CaptureShot(shots[&pointed - HOUSES]);
        float x = pointed.x, other = HOUSES[(&pointed - HOUSES + 2) % 4].x;
        EXPECT_GT(ChangedSamples(away, shot, x - 140, PANEL_Y - 140, x + 140, PANEL_Y + 140, 20),
                  20);
        EXPECT_EQ(ChangedSamples(away, shot, other - 100, PANEL_Y, other + 100, PANEL_Y, 20), 0);
    }
    // Moving away hides it again; pointing at a panel shows nothing.
    Hover(HOUSES[2].x, PANEL_Y);
    for (const HouseOnScreen& h : HOUSES) {
        EXPECT_FALSE(FindObject(h.panel)->visible) << h.panel;
        EXPECT_EQ(PictureOf(h.selector), h.idlePicture);
    }
}

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
}

} // namespace
