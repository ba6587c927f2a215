// The win and lose screens: the finished level read from previousState, the
// buttons leading to the next level, the lost level or the menu two seconds
// later behind a rising curtain, the menu choice winning over a level; after
// the last level the house's final picture, its track and one Main menu
// button. Runs on a data folder of one-colour pictures and short WAVs.
#include "battle/battle_state.h"
#include "frontend_test_files.h"
#include "screens/win_lose.h"

using namespace frontend_test;
using namespace screen_test;

namespace {

constexpr uint32_t LOSE_BG = 0x602020, WIN_BG = 0x206020, WALL = 0x101010;
constexpr uint32_t MENU_IDLE = 0x8080C0, RIGHT_IDLE = 0xC08040;
constexpr uint32_t FINAL[4] = {0xA03030, 0x30A030, 0x3030A0, 0xA0A030};
const char* const FINAL_FILES[4] = {"FinalNoblemen.png", "FinalWorkers.png", "FinalWisemen.png",
                                    "FinalWarriors.png"};
constexpr int CURTAIN_FRAMES = 82; // the opening curtain is out of sight after 81 steps of 10

// Runs frames until the screen is left (at most `limit`); returns how many.
int FramesToLeave(int limit = 150) {
    return RunFramesUntil([] { return currentState != GS_WIN && currentState != GS_LOSE; }, limit);
}

class EndScreenTest : public OwnDataTest {
  protected:
    void SetUp() override {
        OwnDataTest::SetUp();
        house = HOUSE_NOBLEMEN;
        MakeData("win_lose_test");
        Picture("YouLoseDEF2.png", LOSE_BG);
        Picture("YouWinDEF2.png", WIN_BG);
        Picture("MainMenuButton.png", MENU_IDLE);
        Picture("MainMenuButtonPressed.png", MENU_IDLE);
        for (std::string right : {"RestartButton", "NextLevelButton"}) {
            Picture(right + ".png", RIGHT_IDLE);
            Picture(right + "Pressed.png", RIGHT_IDLE);
        }
        Picture("Cursor.png", 0xFFFFFF);
        Picture("TransitionWall.png", WALL);
        for (int i = 0; i < 4; ++i)
            Picture(FINAL_FILES[i], FINAL[i]);
        for (const char* track : {"YouLose.mp3", "Meowgic.mp3", "Spring_Village.mp3"})
            Wav(track, 2);
        UseData();
    }
    // Enters `screen` as the battle state `finished` leaves it, cursor away from the buttons.
    void Enter(int32_t screen, int32_t finished) {
        StartGame(screen);
        previousState = finished; // the level the manager has just left
        MoveCursorToDesign(0, 300);
        RunFrames(1);
    }
    void Quit() { LeaveGame(); }
};

} // namespace

// Each screen's picture, buttons and looping track; after the last level the
// house's picture (the plain one for an unknown house) and one Main menu button.
TEST_F(EndScreenTest, PicturesButtonsAndTracks) {
    const struct {
        int32_t screen, finished;
        int house;
        uint32_t background;
        const char* track;
    } cases[] = {
        {GS_LOSE, GS_LEVEL2, 0, LOSE_BG, "YouLose.mp3"},
        {GS_WIN, GS_LEVEL1, 0, WIN_BG, "Meowgic.mp3"},
        {GS_WIN, GS_LEVEL2, 0, WIN_BG, "Meowgic.mp3"},
        {GS_WIN, GS_LEVEL3, 0, FINAL[0], "Spring_Village.mp3"},
        {GS_WIN, GS_LEVEL3, 1, FINAL[1], "Spring_Village.mp3"},
        {GS_WIN, GS_LEVEL3, 2, FINAL[2], "Spring_Village.mp3"},
        {GS_WIN, GS_LEVEL3, 3, FINAL[3], "Spring_Village.mp3"},
        {GS_WIN, GS_LEVEL3, 7, WIN_BG, "Spring_Village.mp3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.background);
        house = static_cast<uint8_t>(c.house);
        BattleState::battleWon = BattleState::battleLost = true; // as the battle left them
        Enter(c.screen, c.finished);
        EXPECT_FALSE(c.screen == GS_WIN ? BattleState::battleWon : BattleState::battleLost);
        const EndScreenState& screen = c.screen == GS_WIN ? winScreen : loseScreen;
        ASSERT_NE(screen.music, nullptr);
        EXPECT_NE(std::string(screen.music->path).find(c.track), std::string::npos);
        EXPECT_TRUE(screen.musicChannel->looping);
        EXPECT_TRUE(IsChannelPlaying(screen.musicChannel));
        RunFrames(CURTAIN_FRAMES);
        Screenshot shot = CaptureFrame();
        EXPECT_EQ(Rgb(shot.AtDesign(0, 200)), c.background);
        bool last = c.finished == GS_LEVEL3;
        EXPECT_EQ(Rgb(shot.AtDesign(500, 100)), last ? c.background : RIGHT_IDLE);
        EXPECT_EQ(Rgb(shot.AtDesign(-500, 100)), last ? c.background : MENU_IDLE);
        if (last) {
            EXPECT_EQ(Rgb(shot.AtDesign(0, -270)), MENU_IDLE);
            Click(END_RIGHT); // where Next level stands on the other win screens
            EXPECT_EQ(FramesToLeave(), 150);
        }
        Quit();
    }
}

// Next level leads 1 to 2 and 2 to 3, Restart back to the lost level, two
// seconds after the click behind a curtain rising from below; from no level
// only the menu button works.
TEST_F(EndScreenTest, TheRightButtonLeadsToTheNextOrTheLostLevel) {
    const struct {
        int32_t screen, finished, next;
    } steps[] = {{GS_WIN, GS_LEVEL1, GS_LEVEL2},  {GS_WIN, GS_LEVEL2, GS_LEVEL3},
                 {GS_LOSE, GS_LEVEL1, GS_LEVEL1}, {GS_LOSE, GS_LEVEL2, GS_LEVEL2},
                 {GS_LOSE, GS_LEVEL3, GS_LEVEL3}, {GS_LOSE, GS_MAIN_MENU, GS_LOSE}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.finished);
        Enter(step.screen, step.finished);
        EndScreenState& screen = step.screen == GS_WIN ? winScreen : loseScreen;
        EXPECT_EQ(screen.openingWall->position[1], -10.0f);
        RunFrames(CURTAIN_FRAMES);
        EXPECT_EQ(screen.openingWall->position[1], -810.0f); // stops just out of sight
        Click(END_RIGHT);
        if (step.next == step.screen) {
            EXPECT_EQ(FramesToLeave(), 150);
            Click(END_MENU);
        } else {
            EXPECT_EQ(screen.closingWall->position[1], -790.0f); // rising from the release frame
            RunFrames(80);
            EXPECT_EQ(screen.closingWall->position[1], 10.0f);
            Screenshot closed = CaptureFrame();
            EXPECT_EQ(Rgb(closed.AtDesign(600, 330)), WALL);
        }
        FramesToLeave();
        EXPECT_EQ(currentState, step.next == step.screen ? GS_MAIN_MENU : step.next);
        Quit();
    }
}

TEST_F(EndScreenTest, MainMenuWinsOverALevelChosenFirst) {
    for (int32_t screen : {GS_LOSE, GS_WIN}) {
        SCOPED_TRACE(screen);
        Enter(screen, GS_LEVEL1);
        Click(END_RIGHT);
        RunFrames(60);
        ASSERT_EQ(currentState, screen);
        Click(END_MENU);
        EXPECT_NEAR(FramesToLeave() + 63, 120, 2); // still two seconds from the first click
        EXPECT_EQ(currentState, GS_MAIN_MENU);
        Quit();
    }
}
