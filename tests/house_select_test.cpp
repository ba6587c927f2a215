// House selection: pointing at a house shows its panel and lit selector, a
// click stores `house`, the curtain closes and level 1 starts two seconds
// after the first click whatever the frame rate.
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

// One engine for the whole suite; every test starts a new game on it at the
// house selection, `house` at `startHouse`.
class HouseSelectTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartTestEngine(false); }
    static void TearDownTestSuite() { StopTestEngine(); }
    void Enter(uint8_t startHouse = HOUSE_NOBLEMEN) {
        house = startHouse;
        StartGame(GS_HOUSE_SELECT);
        RunFrames(1);
        ASSERT_EQ(currentState, GS_HOUSE_SELECT);
    }
    void TearDown() override { LeaveGame(); }
};

} // namespace

TEST_F(HouseSelectTest, PointingShowsOnlyThatHousesPanelAndLitSelector) {
    Enter();
    for (const HouseOnScreen& pointed : HOUSES) {
        Hover({pointed.x, SELECTOR_Y});
        for (const HouseOnScreen& h : HOUSES) {
            bool same = &h == &pointed;
            EXPECT_EQ(FindObject(h.panel)->visible, same) << pointed.selector << " / " << h.panel;
            EXPECT_EQ(PictureOf(h.selector), same ? h.litPicture : h.idlePicture);
        }
    }
    Hover({HOUSES[2].x, PANEL_Y}); // pointing at a panel shows nothing
    for (const HouseOnScreen& h : HOUSES)
        EXPECT_FALSE(FindObject(h.panel)->visible) << h.panel;
}

TEST_F(HouseSelectTest, WorkersThenWarriorsWithinTwoSecondsStartsLevelOneWithWarriors) {
    Enter();
    GameObject* closing = ObjectsNamed("Wall")[1];
    ClickDesign(HOUSES[1].x, SELECTOR_Y);
    EXPECT_EQ(house, HOUSE_WORKERS);
    RunFrames(40);
    ClickDesign(HOUSES[3].x, SELECTOR_Y);
    EXPECT_EQ(house, HOUSE_WARRIORS);
    RunFrames(40);
    EXPECT_FLOAT_EQ(closing->position[1], 10); // closed after 80 frames, stopped at 10
    EXPECT_EQ(currentState, GS_HOUSE_SELECT);
    // The second click does not restart the timer: 120 frames from the first.
    int total = 2 + 40 + 2 + 40 + RunUntilState(GS_LEVEL1, 200);
    EXPECT_NEAR(total, 121, 2);
    EXPECT_EQ(currentState, GS_LEVEL1);
    EXPECT_EQ(house, HOUSE_WARRIORS);
}

TEST_F(HouseSelectTest, TheChangeComesAfterTwoSecondsWhateverTheFrameRate) {
    SetSteppedClock(true, 1.0 / 30.0);
    Enter();
    RunFrames(1);
    ClickDesign(HOUSES[2].x, SELECTOR_Y);
    EXPECT_NEAR(2 + RunUntilState(GS_LEVEL1, 200), 61, 2);
    EXPECT_EQ(house, HOUSE_WISEMEN);
}

TEST_F(HouseSelectTest, WithoutAClickHouseKeepsItsValue) {
    Enter(HOUSE_WISEMEN);
    ClickDesign(0, -330); // a click beside the selectors chooses nothing either
    ClickDesign(HOUSES[0].x, PANEL_Y);
    RunFrames(100);
    EXPECT_EQ(house, HOUSE_WISEMEN);
    EXPECT_EQ(currentState, GS_HOUSE_SELECT);
}
