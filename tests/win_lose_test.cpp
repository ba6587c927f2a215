// The win and lose screens: the finished level read from previousState, the
// buttons leading to the next level, the lost level or the menu two seconds
// later behind a rising curtain, the menu choice winning over a level, Space
// leaving at once; after the last level the house's final picture, its track
// and one Main menu button. Runs on a data folder of one-colour pictures and
// short WAVs; two tests play on the game data (K in a battle, screenshots).
#include "battle/battle_state.h"
#include "engine/graphics/texture.h"
#include "frontend_test_files.h"
#include "screens/win_lose.h"

using namespace frontend_test;
using namespace screen_test;

namespace {

constexpr uint32_t LOSE_BG = 0x602020, WIN_BG = 0x206020, WALL = 0x101010;
constexpr uint32_t MENU_IDLE = 0x8080C0, MENU_HOVER = 0xC0C0FF;
constexpr uint32_t RIGHT_IDLE = 0xC08040, RIGHT_HOVER = 0xFFC080;
constexpr uint32_t FINAL[4] = {0xA03030, 0x30A030, 0x3030A0, 0xA0A030};
const char* const FINAL_FILES[4] = {"FinalNoblemen.png", "FinalWorkers.png", "FinalWisemen.png",
                                    "FinalWarriors.png"};
constexpr int CURTAIN_FRAMES = 82; // the opening curtain is out of sight after 81 steps of 10

// Runs frames until the screen is left (at most `limit`); returns how many.
int FramesToLeave(int limit = 150) {
    return RunFramesUntil([] { return currentState != GS_WIN && currentState != GS_LOSE; }, limit);
}

// Leaves the running screen through the state manager.
void Quit() {
    nextState = GS_QUIT;
    RunFrames(1);
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
        Picture("MainMenuButtonPressed.png", MENU_HOVER);
        for (std::string right : {"RestartButton", "NextLevelButton"}) {
            Picture(right + ".png", RIGHT_IDLE);
            Picture(right + "Pressed.png", RIGHT_HOVER);
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
};

TEST_F(EndScreenTest, LoseScreenLayoutAndMusic) {
    BattleState::battleLost = true;
    Enter(GS_LOSE, GS_LEVEL2);
    EXPECT_EQ(LiveObjectNames(), "BG RestartButton MainMenuButton Cursor Wall Wall ");
    GameObject* restart = FindObject("RestartButton");
    EXPECT_EQ(restart->position[0], 500.0f);
    EXPECT_EQ(restart->position[1], 10.0f);
    EXPECT_EQ(restart->scale[0], 250.0f);
    EXPECT_EQ(restart->scale[1], 260.0f);
    EXPECT_EQ(FindObject("MainMenuButton")->position[0], -500.0f);
    EXPECT_EQ(loseScreen.closingWall->position[1], -800.0f);
    EXPECT_FALSE(BattleState::battleLost);
    ASSERT_NE(loseScreen.music, nullptr);
    EXPECT_STREQ(loseScreen.music->path, "data\\YouLose.mp3");
    ASSERT_NE(loseScreen.musicChannel, nullptr);
    EXPECT_TRUE(loseScreen.musicChannel->looping);
    EXPECT_TRUE(IsChannelPlaying(loseScreen.musicChannel));
    RunFrames(CURTAIN_FRAMES);
    Screenshot shot = CaptureFrame();
    EXPECT_EQ(Rgb(shot.AtDesign(0, 200)), LOSE_BG);
    EXPECT_EQ(Rgb(shot.AtDesign(500, 100)), RIGHT_IDLE);
    EXPECT_EQ(Rgb(shot.AtDesign(-500, 100)), MENU_IDLE);
}

TEST_F(EndScreenTest, WinScreenAfterLevelsOneAndTwo) {
    for (int32_t finished : {GS_LEVEL1, GS_LEVEL2}) {
        SCOPED_TRACE(finished);
        BattleState::battleWon = true;
        Enter(GS_WIN, finished);
        EXPECT_EQ(ObjectsNamed("NextLevelButton").size(), 1u);
        EXPECT_EQ(ObjectsNamed("MainMenuButton").size(), 1u);
        EXPECT_FALSE(BattleState::battleWon);
        ASSERT_NE(winScreen.music, nullptr);
        EXPECT_STREQ(winScreen.music->path, "data\\Meowgic.mp3");
        EXPECT_TRUE(IsChannelPlaying(winScreen.musicChannel));
        RunFrames(CURTAIN_FRAMES);
        Screenshot shot = CaptureFrame();
        EXPECT_EQ(Rgb(shot.AtDesign(0, 200)), WIN_BG);
        EXPECT_EQ(Rgb(shot.AtDesign(500, 100)), RIGHT_IDLE);
        Quit();
    }
}

// After the last level: the house's picture (the plain one for an unknown
// house), its track and one Main menu button.
TEST_F(EndScreenTest, AfterTheLastLevelTheHousePictureAndOneButton) {
    for (int h : {3, 2, 1, 0, 7}) {
        SCOPED_TRACE(h);
        house = static_cast<uint8_t>(h);
        Enter(GS_WIN, GS_LEVEL3);
        EXPECT_TRUE(ObjectsNamed("NextLevelButton").empty());
        std::vector<GameObject*> menuButtons = ObjectsNamed("MainMenuButton");
        ASSERT_EQ(menuButtons.size(), 1u);
        EXPECT_EQ(menuButtons[0]->position[0], 0.0f);
        EXPECT_EQ(menuButtons[0]->position[1], -270.0f);
        EXPECT_EQ(menuButtons[0]->scale[0], 170.0f);
        EXPECT_EQ(menuButtons[0]->scale[1], 170.0f);
        EXPECT_EQ(PictureOf("BG"), h < 4 ? FINAL_FILES[h] : "YouWinDEF2.png");
        ASSERT_NE(winScreen.music, nullptr);
        EXPECT_STREQ(winScreen.music->path, "data\\Spring_Village.mp3");
        EXPECT_TRUE(IsChannelPlaying(winScreen.musicChannel));
        if (h < 4) {
            RunFrames(CURTAIN_FRAMES);
            Screenshot shot = CaptureFrame();
            EXPECT_EQ(Rgb(shot.AtDesign(0, 200)), FINAL[h]);
            EXPECT_EQ(Rgb(shot.AtDesign(500, 10)), FINAL[h]); // no Next level button
            EXPECT_EQ(Rgb(shot.AtDesign(0, -200)), MENU_IDLE);
        }
        if (h == 3) {
            Click(END_RIGHT); // where Next level stands on the other win screens
            EXPECT_EQ(FramesToLeave(), 150);
            EXPECT_EQ(currentState, GS_WIN);
        }
        Quit();
    }
}

TEST_F(EndScreenTest, MusicFollowsTheMuteSwitchAndTheWindow) {
    volume = 60;
    Enter(GS_WIN, GS_LEVEL1);
    RunFrames(1);
    EXPECT_FLOAT_EQ(winScreen.musicChannel->volume, 0.6f);
    musicMuted = true;
    RunFrames(1);
    EXPECT_EQ(winScreen.musicChannel->volume, 0.0f);
    EXPECT_TRUE(IsChannelPlaying(winScreen.musicChannel)); // runs on, silently
    musicMuted = false;
    LoseFocus();
    RunFrames(2);
    EXPECT_EQ(winScreen.musicChannel->volume, 0.0f);
    GainFocus();
    RunFrames(2);
    EXPECT_FLOAT_EQ(winScreen.musicChannel->volume, 0.6f);
}

// Next level leads 1 to 2 and 2 to 3, Restart back to the lost level, two seconds after the click.
TEST_F(EndScreenTest, TheRightButtonLeadsToTheNextOrTheLostLevel) {
    const struct {
        int32_t screen, finished, next;
    } steps[] = {{GS_WIN, GS_LEVEL1, GS_LEVEL2},
                 {GS_WIN, GS_LEVEL2, GS_LEVEL3},
                 {GS_LOSE, GS_LEVEL1, GS_LEVEL1},
                 {GS_LOSE, GS_LEVEL2, GS_LEVEL2},
                 {GS_LOSE, GS_LEVEL3, GS_LEVEL3}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.finished);
        Enter(step.screen, step.finished);
        Click(END_RIGHT);
        EXPECT_TRUE(step.screen == GS_LOSE || (step.finished == GS_LEVEL1 ? toLevel2 : toLevel3));
        EXPECT_NEAR(FramesToLeave() + 1, 120, 2); // the click's release frame ran already
        EXPECT_EQ(currentState, step.next);
        EXPECT_EQ(previousState, step.screen);
        Quit();
    }
}

TEST_F(EndScreenTest, MainMenuWinsOverALevelChosenFirstAndSpaceLeavesAtOnce) {
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
        Enter(screen, GS_LEVEL2);
        RunFrames(3);
        KeyDown(VK_SPACE);
        RunFrames(1);
        EXPECT_EQ(currentState, GS_MAIN_MENU);
        KeyUp(VK_SPACE);
        Quit();
    }
}

TEST_F(EndScreenTest, CurtainsOpenDownwardAndCloseUpward) {
    Enter(GS_LOSE, GS_LEVEL1);
    EXPECT_EQ(loseScreen.openingWall->position[1], -10.0f);
    RunFrames(79);
    EXPECT_EQ(loseScreen.openingWall->position[1], -800.0f);
    RunFrames(5);
    EXPECT_EQ(loseScreen.openingWall->position[1], -810.0f); // stops just out of sight
    EXPECT_EQ(loseScreen.closingWall->position[1], -800.0f);
    Click(END_MENU);
    EXPECT_EQ(loseScreen.closingWall->position[1], -790.0f); // rising from the release frame
    RunFrames(80);
    EXPECT_EQ(loseScreen.closingWall->position[1], 10.0f);
    Screenshot closed = CaptureFrame();
    EXPECT_EQ(Rgb(closed.AtDesign(0, 0)), WALL);
    EXPECT_EQ(Rgb(closed.AtDesign(600, 330)), WALL);
    EXPECT_EQ(loseScreen.closingWall->position[1], 10.0f);
}

TEST_F(EndScreenTest, ButtonsShowTheirHoverPictures) {
    for (int32_t screen : {GS_LOSE, GS_WIN}) {
        SCOPED_TRACE(screen);
        Enter(screen, GS_LEVEL1);
        RunFrames(CURTAIN_FRAMES);
        MoveCursorToDesign(END_RIGHT.x, END_RIGHT.y);
        Screenshot right =
            CaptureShot(screen == GS_WIN ? "own_win_right_hover" : "own_lose_right_hover");
        EXPECT_EQ(Rgb(right.AtDesign(500, 100)), RIGHT_HOVER);
        EXPECT_EQ(Rgb(right.AtDesign(-500, 100)), MENU_IDLE);
        MoveCursorToDesign(END_MENU.x, END_MENU.y);
        Screenshot left = CaptureFrame();
        EXPECT_EQ(Rgb(left.AtDesign(500, 100)), RIGHT_IDLE);
        EXPECT_EQ(Rgb(left.AtDesign(-500, 100)), MENU_HOVER);
        Quit();
    }
}

TEST_F(EndScreenTest, ScreenFromNoLevelOffersOnlyTheMenu) {
    Enter(GS_LOSE, GS_MAIN_MENU); // reached by a key, not by a battle
    Click(END_RIGHT);
    EXPECT_FALSE(restartLevel1 || restartLevel2 || restartLevel3);
    EXPECT_EQ(FramesToLeave(), 150);
    Click(END_MENU);
    FramesToLeave();
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

TEST_F(EndScreenTest, LeavingReleasesWhatTheScreenLoaded) {
    int textures = TextureCount(), sounds = SoundCacheCount(), channels = FreeChannelCount();
    for (int32_t screen : {GS_LOSE, GS_WIN}) {
        Enter(screen, GS_LEVEL3);
        EXPECT_GT(TextureCount(), textures);
        EXPECT_EQ(FreeChannelCount(), channels - 1); // the looping track
        Quit();
        EXPECT_EQ(TextureCount(), textures);
        EXPECT_EQ(SoundCacheCount(), sounds);
        UpdateSound(); // the released track's channel goes back to the pool
        EXPECT_EQ(FreeChannelCount(), channels);
    }
}

// On the game's own data.
class EndScreenGameDataTest : public OwnDataTest {
  protected:
    void SetUp() override {
        OwnDataTest::SetUp();
        ASSERT_TRUE(fs::exists(MORROW_BUILD_DIR "/data/YouWinDEF2.png")) << "no game data folder";
    }
};

TEST_F(EndScreenGameDataTest, BattleShortcutReachesAWinScreenWhoseNextLevelWorks) {
    house = HOUSE_WORKERS;
    StartGame(GS_LEVEL1);
    RunFrames(5);
    TapKey('K');
    RunFramesUntil([] { return currentState == GS_WIN; }, 600);
    ASSERT_EQ(currentState, GS_WIN);
    EXPECT_EQ(previousState, GS_LEVEL1);
    RunFrames(CURTAIN_FRAMES);
    Click(END_RIGHT);
    RunFramesUntil([] { return currentState != GS_WIN; }, 400);
    EXPECT_EQ(currentState, GS_LEVEL2);
}

TEST_F(EndScreenGameDataTest, Screenshots) {
    const struct {
        int32_t screen, finished;
        uint8_t house;
        std::string name;
    } shots[] = {
        {GS_LOSE, GS_LEVEL1, 0, "lose"},        {GS_WIN, GS_LEVEL1, 0, "win"},
        {GS_WIN, GS_LEVEL3, 0, "win_noblemen"}, {GS_WIN, GS_LEVEL3, 1, "win_workers"},
        {GS_WIN, GS_LEVEL3, 2, "win_wisemen"},  {GS_WIN, GS_LEVEL3, 3, "win_warriors"},
    };
    for (const auto& shot : shots) {
        SCOPED_TRACE(shot.name);
        house = shot.house;
        StartGame(shot.screen);
        previousState = shot.finished;
        MoveCursorToDesign(0, 300);
        RunFrames(CURTAIN_FRAMES);
        Screenshot idle = CaptureShot(shot.name);
        EXPECT_NE(Rgb(idle.AtDesign(0, 200)), 0u);
        // Each button's hover picture changes most of its box.
        bool last = shot.finished == GS_LEVEL3;
        for (Point button :
             last ? std::vector<Point>{{0, -270}} : std::vector<Point>{END_RIGHT, END_MENU}) {
            MoveCursorToDesign(button.x, button.y);
            float half = last ? 65 : 100;
            std::string name = shot.name + (button.x > 0 ? "_right_hover" : "_menu_hover");
            EXPECT_GT(ChangedSamples(idle, CaptureShot(name), button.x - half, button.y - half,
                                     button.x + half, button.y + half, half / 5),
                      0.5f * 11 * 11);
        }
        Click(last ? Point{0, -270} : END_MENU);
        RunFrames(40);
        CaptureShot(shot.name + "_closing");
        Quit();
    }
}

} // namespace
