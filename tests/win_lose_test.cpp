// The win and lose screens run through the state manager on the stepped
// clock with clicks as a player gives them: the level that ended is read
// from previousState (the test sets it as the ending battle leaves it), the
// buttons lead to the next level, the lost level or the menu two seconds
// later behind a rising curtain, the main-menu choice wins over a level, and
// Space leaves at once. After the last level the house's final picture, its
// track and a single Main menu button. Runs on a data folder the test writes
// (one colour per picture, short WAVs), so every picture can be told apart
// by its pixels; one test plays a real battle's K shortcut on the game data.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "battle/battle_state.h"
#include "engine/audio/sound.h"
#include "engine/file.h"
#include "engine/graphics/texture.h"
#include "frontend_test_files.h"
#include "harness/harness.h"
#include "objects/game_object.h"
#include "screens/ui.h"
#include "screens/win_lose.h"

namespace fs = std::filesystem;
using namespace frontend_test;

namespace {

constexpr uint32_t LOSE_BG = 0x602020, WIN_BG = 0x206020, WALL = 0x101010;
constexpr uint32_t MENU_IDLE = 0x8080C0, MENU_HOVER = 0xC0C0FF;
constexpr uint32_t RIGHT_IDLE = 0xC08040, RIGHT_HOVER = 0xFFC080;
constexpr uint32_t FINAL[4] = {0xA03030, 0x30A030, 0x3030A0, 0xA0A030};
const char* const FINAL_FILES[4] = {"FinalNoblemen.png", "FinalWorkers.png", "FinalWisemen.png",
                                    "FinalWarriors.png"};
constexpr int CURTAIN_FRAMES = 82; // the opening curtain is out of sight after 81 steps of 10

uint32_t Rgb(uint32_t argb) {
    return argb & 0xFFFFFF;
}

// Share of a grid of points over a design box whose pixels differ between two shots.
float ChangedShare(const Screenshot& a, const Screenshot& b, float x, float y, float w, float h) {
    int changed = 0, total = 0;
    for (float px = x - w / 2; px <= x + w / 2; px += w / 10)
        for (float py = y - h / 2; py <= y + h / 2; py += h / 10, ++total)
            if (a.AtDesign(px, py) != b.AtDesign(px, py)) ++changed;
    return static_cast<float>(changed) / total;
}

bool LeftEndScreen() {
    return currentState != GS_WIN && currentState != GS_LOSE;
}

class EndScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTestEngine();
        volume = 50;
        soundMuted = musicMuted = sfxMuted = false;
        house = HOUSE_NOBLEMEN;
        base = MakeDataFolder("win_lose_test");
        WritePicture(base, "YouLoseDEF2.png", LOSE_BG);
        WritePicture(base, "YouWinDEF2.png", WIN_BG);
        WritePicture(base, "MainMenuButton.png", MENU_IDLE);
        WritePicture(base, "MainMenuButtonPressed.png", MENU_HOVER);
        for (const char* right : {"RestartButton", "NextLevelButton"}) {
            WritePicture(base, std::string(right) + ".png", RIGHT_IDLE);
            WritePicture(base, std::string(right) + "Pressed.png", RIGHT_HOVER);
        }
        WritePicture(base, "Cursor.png", 0xFFFFFF);
        WritePicture(base, "TransitionWall.png", WALL);
        for (int i = 0; i < 4; ++i)
            WritePicture(base, FINAL_FILES[i], FINAL[i]);
        for (const char* track : {"YouLose.mp3", "Meowgic.mp3", "Spring_Village.mp3"})
            WriteWav(base / "data" / track, 2);
        SetGameBaseDir(base.string());
    }
    void TearDown() override {
        StopTestEngine();
        fs::remove_all(base);
    }

    // Enters `screen` as the battle state `finished` leaves it, with the
    // cursor away from the buttons.
    void Enter(int32_t screen, int32_t finished) {
        StartGame(screen);
        previousState = finished; // the level the manager has just left
        MoveCursorToDesign(0, 300);
        RunFrames(1);
    }
    // Runs frames until the screen is left; returns how many.
    int FramesToLeave(int limit = 150) { return RunFramesUntil(LeftEndScreen, limit); }

    fs::path base;
};

// ---------------------------------------------------------------------------
// Layout and music
// ---------------------------------------------------------------------------

TEST_F(EndScreenTest, LoseScreenLayoutAndMusic) {
    BattleState::battleLost = true;
    Enter(GS_LOSE, GS_LEVEL2);
    std::vector<std::string> names;
    for (GameObject* object : objectList)
        names.push_back(object->name);
    EXPECT_EQ(names, (std::vector<std::string>{"BG", "RestartButton", "MainMenuButton", "Cursor",
                                               "Wall", "Wall"}));
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
        nextState = GS_QUIT;
        RunFrames(1);
    }
}

TEST_F(EndScreenTest, AfterTheLastLevelTheHousePictureAndOneButton) {
    for (int h = 3; h >= 0; --h) {
        SCOPED_TRACE(h);
        house = static_cast<uint8_t>(h);
        Enter(GS_WIN, GS_LEVEL3);
        EXPECT_TRUE(ObjectsNamed("NextLevelButton").empty());
        auto menuButtons = ObjectsNamed("MainMenuButton");
        ASSERT_EQ(menuButtons.size(), 1u);
        EXPECT_EQ(menuButtons[0]->position[0], 0.0f);
        EXPECT_EQ(menuButtons[0]->position[1], -270.0f);
        EXPECT_EQ(menuButtons[0]->scale[0], 170.0f);
        EXPECT_EQ(menuButtons[0]->scale[1], 170.0f);
        EXPECT_EQ(PictureOf("BG"), FINAL_FILES[h]);
        ASSERT_NE(winScreen.music, nullptr);
        EXPECT_STREQ(winScreen.music->path, "data\\Spring_Village.mp3");
        EXPECT_TRUE(IsChannelPlaying(winScreen.musicChannel));
        RunFrames(CURTAIN_FRAMES);
        Screenshot shot = CaptureFrame();
        EXPECT_EQ(Rgb(shot.AtDesign(0, 200)), FINAL[h]);
        EXPECT_EQ(Rgb(shot.AtDesign(500, 10)), FINAL[h]); // no Next level button
        EXPECT_EQ(Rgb(shot.AtDesign(0, -200)), MENU_IDLE);

        if (h == 3) {
            ClickDesign(500, 10); // where Next level stands on the other win screens
            EXPECT_EQ(FramesToLeave(), 150);
            EXPECT_EQ(currentState, GS_WIN);
        }
        nextState = GS_QUIT;
        RunFrames(1);
    }
}

TEST_F(EndScreenTest, UnknownHouseGetsThePlainWinPictureAfterTheLastLevel) {
    house = 7;
    Enter(GS_WIN, GS_LEVEL3);
    EXPECT_EQ(PictureOf("BG"), "YouWinDEF2.png");
    EXPECT_EQ(ObjectsNamed("MainMenuButton").size(), 1u);
    EXPECT_TRUE(ObjectsNamed("NextLevelButton").empty());
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

// ---------------------------------------------------------------------------
// Buttons, curtains and leaving
// ---------------------------------------------------------------------------

TEST_F(EndScreenTest, NextLevelLeadsFromOneLevelToTheNext) {
    const std::pair<int32_t, int32_t> steps[] = {{GS_LEVEL1, GS_LEVEL2}, {GS_LEVEL2, GS_LEVEL3}};
    for (auto [finished, next] : steps) {
        SCOPED_TRACE(finished);
        Enter(GS_WIN, finished);
        ClickDesign(500, 10);
        EXPECT_TRUE(finished == GS_LEVEL1 ? toLevel2 : toLevel3);
        int frames = FramesToLeave() + 1; // the click's release frame ran already
        EXPECT_NEAR(frames, 120, 2);      // two seconds after the click
        EXPECT_EQ(currentState, next);
        EXPECT_EQ(previousState, GS_WIN);
        nextState = GS_QUIT;
        RunFrames(1);
    }
}

TEST_F(EndScreenTest, RestartLeadsBackToTheLostLevel) {
    for (int32_t lost : {GS_LEVEL1, GS_LEVEL2, GS_LEVEL3}) {
        SCOPED_TRACE(lost);
        Enter(GS_LOSE, lost);
        ClickDesign(500, 10);
        FramesToLeave();
        EXPECT_EQ(currentState, lost);
        nextState = GS_QUIT;
        RunFrames(1);
    }
}

TEST_F(EndScreenTest, MainMenuWinsOverALevelChosenFirst) {
    for (int32_t screen : {GS_LOSE, GS_WIN}) {
        SCOPED_TRACE(screen);
        Enter(screen, GS_LEVEL1);
        ClickDesign(500, 10);
        RunFrames(60);
        ASSERT_EQ(currentState, screen);
        ClickDesign(-500, 10);
        int frames = FramesToLeave() + 63; // 63 frames counted down so far
        EXPECT_NEAR(frames, 120, 2);       // still two seconds from the first click
        EXPECT_EQ(currentState, GS_MAIN_MENU);
        nextState = GS_QUIT;
        RunFrames(1);
    }
}

TEST_F(EndScreenTest, SpaceGoesToTheMenuAtOnce) {
    for (int32_t screen : {GS_LOSE, GS_WIN}) {
        SCOPED_TRACE(screen);
        Enter(screen, GS_LEVEL2);
        RunFrames(3);
        KeyDown(VK_SPACE);
        RunFrames(1);
        EXPECT_EQ(currentState, GS_MAIN_MENU);
        KeyUp(VK_SPACE);
        nextState = GS_QUIT;
        RunFrames(1);
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

    ClickDesign(-500, 10);
    EXPECT_EQ(loseScreen.closingWall->position[1], -790.0f); // rising from the release frame
    RunFrames(80);
    EXPECT_EQ(loseScreen.closingWall->position[1], 10.0f);
    Screenshot closed = CaptureFrame();
    EXPECT_EQ(Rgb(closed.AtDesign(0, 0)), WALL);
    EXPECT_EQ(Rgb(closed.AtDesign(600, 330)), WALL);
    EXPECT_EQ(loseScreen.closingWall->position[1], 10.0f);
}

TEST_F(EndScreenTest, ButtonsShowTheirHoverPictures) {
    fs::create_directories(MORROW_BUILD_DIR "/shots");
    for (int32_t screen : {GS_LOSE, GS_WIN}) {
        SCOPED_TRACE(screen);
        Enter(screen, GS_LEVEL1);
        RunFrames(CURTAIN_FRAMES);
        std::string prefix =
            std::string(MORROW_BUILD_DIR "/shots/own_") + (screen == GS_WIN ? "win" : "lose");
        MoveCursorToDesign(500, 10);
        Screenshot right = CaptureFrame();
        right.SavePng(prefix + "_right_hover.png");
        EXPECT_EQ(Rgb(right.AtDesign(500, 100)), RIGHT_HOVER);
        EXPECT_EQ(Rgb(right.AtDesign(-500, 100)), MENU_IDLE);
        MoveCursorToDesign(-500, 10);
        Screenshot left = CaptureFrame();
        EXPECT_EQ(Rgb(left.AtDesign(500, 100)), RIGHT_IDLE);
        EXPECT_EQ(Rgb(left.AtDesign(-500, 100)), MENU_HOVER);
        nextState = GS_QUIT;
        RunFrames(1);
    }
}

TEST_F(EndScreenTest, ScreenFromNoLevelOffersOnlyTheMenu) {
    Enter(GS_LOSE, GS_MAIN_MENU); // reached by a key, not by a battle
    ClickDesign(500, 10);
    EXPECT_FALSE(restartLevel1 || restartLevel2 || restartLevel3);
    EXPECT_EQ(FramesToLeave(), 150);
    ClickDesign(-500, 10);
    FramesToLeave();
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

TEST_F(EndScreenTest, LeavingReleasesWhatTheScreenLoaded) {
    int textures = TextureCount(), sounds = SoundCacheCount(), channels = FreeChannelCount();
    for (int32_t screen : {GS_LOSE, GS_WIN}) {
        Enter(screen, GS_LEVEL3);
        EXPECT_GT(TextureCount(), textures);
        EXPECT_EQ(FreeChannelCount(), channels - 1); // the looping track
        nextState = GS_QUIT;
        RunFrames(1);
        EXPECT_EQ(TextureCount(), textures);
        EXPECT_EQ(SoundCacheCount(), sounds);
        UpdateSound(); // the released track's channel goes back to the pool
        EXPECT_EQ(FreeChannelCount(), channels);
    }
}

// ---------------------------------------------------------------------------
// The game's own data: a battle's K shortcut, and screenshots
// ---------------------------------------------------------------------------

class EndScreenGameDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTestEngine();
        volume = 50;
        soundMuted = musicMuted = sfxMuted = false;
        fs::create_directories(MORROW_BUILD_DIR "/shots");
    }
    void TearDown() override { StopTestEngine(); }
};

TEST_F(EndScreenGameDataTest, BattleShortcutReachesAWinScreenWhoseNextLevelWorks) {
    ASSERT_TRUE(fs::exists(MORROW_BUILD_DIR "/data/YouWinDEF2.png")) << "no game data folder";
    house = HOUSE_WORKERS;
    StartGame(GS_LEVEL1);
    RunFrames(5);
    TapKey('K');
    RunFramesUntil([] { return currentState == GS_WIN; }, 600);
    ASSERT_EQ(currentState, GS_WIN);
    EXPECT_EQ(previousState, GS_LEVEL1);
    RunFrames(CURTAIN_FRAMES);
    ClickDesign(500, 10);
    RunFramesUntil([] { return currentState != GS_WIN; }, 400);
    EXPECT_EQ(currentState, GS_LEVEL2);
}

TEST_F(EndScreenGameDataTest, Screenshots) {
    ASSERT_TRUE(fs::exists(MORROW_BUILD_DIR "/data/YouWinDEF2.png")) << "no game data folder";
    struct Shot {
        int32_t screen, finished;
        uint8_t house;
        const char* name;
    };
    const Shot shots[] = {
        {GS_LOSE, GS_LEVEL1, 0, "lose"},        {GS_WIN, GS_LEVEL1, 0, "win"},
        {GS_WIN, GS_LEVEL3, 0, "win_noblemen"}, {GS_WIN, GS_LEVEL3, 1, "win_workers"},
        {GS_WIN, GS_LEVEL3, 2, "win_wisemen"},  {GS_WIN, GS_LEVEL3, 3, "win_warriors"},
    };
    for (const Shot& shot : shots) {
        SCOPED_TRACE(shot.name);
        house = shot.house;
        StartGame(shot.screen);
        previousState = shot.finished;
        MoveCursorToDesign(0, 300);
        RunFrames(CURTAIN_FRAMES);
        std::string path = std::string(MORROW_BUILD_DIR "/shots/") + shot.name;
        Screenshot idle = CaptureFrame();
        idle.SavePng(path + ".png");
        EXPECT_NE(Rgb(idle.AtDesign(0, 200)), 0u);
        if (shot.finished != GS_LEVEL3) {
            MoveCursorToDesign(500, 10);
            Screenshot right = CaptureFrame();
            right.SavePng(path + "_right_hover.png");
            EXPECT_GT(ChangedShare(idle, right, 500, 10, 200, 200), 0.5f);
            MoveCursorToDesign(-500, 10);
            Screenshot left = CaptureFrame();
            left.SavePng(path + "_menu_hover.png");
            EXPECT_GT(ChangedShare(idle, left, -500, 10, 200, 200), 0.5f);
        } else {
            MoveCursorToDesign(0, -270);
            Screenshot hover = CaptureFrame();
            hover.SavePng(path + "_menu_hover.png");
            EXPECT_GT(ChangedShare(idle, hover, 0, -270, 130, 130), 0.5f);
        }
        if (shot.finished == GS_LEVEL3)
            ClickDesign(0, -270);
        else
            ClickDesign(-500, 10);
        RunFrames(40);
        CaptureFrame().SavePng(path + "_closing.png");
        nextState = GS_QUIT;
        RunFrames(1);
    }
}

} // namespace
