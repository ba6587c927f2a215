// Main menu: Play and its curtain, the settings panel, the speaker and
// effects switches, the quit confirmation, and the menu track across screens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/global_keys.h"
#include "app/settings.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/platform/platform.h"
#include "harness/screen_helpers.h"
#include "reference_drawing.h"
#include "screens/main_menu.h"
#include "screens/quit_dialog.h"
#include "screens/ui.h"

using namespace screen_test;

namespace {

// Starts a new game at `state` with the settings as a new program has them.
void EnterGame(int32_t state) {
    volume = 50;
    soundMuted = musicMuted = sfxMuted = false;
    resolutionIndex = 0;
    fullscreenChosen = false;
    StartGame(state);
}

class MainMenuTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartTestEngine(false); }
    static void TearDownTestSuite() { StopTestEngine(); }
    void SetUp() override {
        EnterGame(GS_MAIN_MENU);
        RunFrames(2);
        ASSERT_EQ(currentState, GS_MAIN_MENU);
    }
    void TearDown() override { LeaveGame(); }
};

} // namespace

TEST_F(MainMenuTest, PlayClosesTheCurtainAndReachesHouseSelectionAfterTwoSeconds) {
    GameObject* wall = FindObject("Wall");
    ASSERT_NE(wall, nullptr);
    EXPECT_FLOAT_EQ(wall->position[1], -800);
    Click(MENU_PLAY);
    RunFrames(84); // 81 steps of 10 bring the curtain to 10, where it stops
    EXPECT_FLOAT_EQ(wall->position[1], 10);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    int total = 86 + RunUntilState(GS_HOUSE_SELECT, 100);
    EXPECT_NEAR(total, 120, 2);
    EXPECT_EQ(currentState, GS_HOUSE_SELECT);
}

TEST_F(MainMenuTest, LargeButtonsDoNothingUnderTheSettingsPanelOrTheQuitConfirmation) {
    for (Point opener : {MENU_SETTINGS, MENU_QUIT}) {
        Click(opener);
        ASSERT_TRUE(opener.x == MENU_QUIT.x ? quitDialogOpen : menuSettingsOpen);
        for (Point p : {MENU_PLAY, MENU_HOW_TO_PLAY, MENU_CREDITS}) {
            Click(p);
            RunFrames(2);
            EXPECT_FALSE(playPressed);
            EXPECT_EQ(currentState, GS_MAIN_MENU);
        }
        if (opener.x == MENU_QUIT.x) break;
        Click(MENU_SETTINGS); // closed again, Play works
        EXPECT_FALSE(menuSettingsOpen);
        Click(MENU_PLAY);
        EXPECT_TRUE(playPressed);
        LeaveGame();
        SetUp();
    }
}

TEST_F(MainMenuTest, SpeakerSetsAndClearsAllThreeMuteFlags) {
    ASSERT_NE(menuMusicChannel, nullptr) << "the menu track did not start";
    Click(MENU_EFFECTS); // effects muted alone are cleared too by the speaker's second click
    for (bool muted : {true, false}) {
        Click(MENU_SPEAKER);
        EXPECT_EQ(soundMuted, muted);
        EXPECT_EQ(musicMuted, muted);
        EXPECT_EQ(sfxMuted, muted);
        RunFrames(1);
        EXPECT_FLOAT_EQ(menuMusicChannel->volume, muted ? 0.0f : 0.5f);
    }
}

TEST_F(MainMenuTest, SettingsPanelVolumeMusicResolutionAndFullScreen) {
    Click(MENU_SETTINGS);
    EXPECT_TRUE(PrintsText("ON"));
    const int clicks = ClickCueRecord().started;
    for (int value : {40, 30, 20, 10, 0, 0}) {
        Click(MENU_VOLUME_LEFT);
        EXPECT_EQ(volume, value);
    }
    EXPECT_GT(ClickCueRecord().started, clicks) << "the arrows click";
    RunFrames(1);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.0f);
    for (int i = 0; i < 11; ++i)
        Click(MENU_VOLUME_RIGHT);
    EXPECT_EQ(volume, 100);
    EXPECT_TRUE(PrintsText("100"));
    Click(MENU_MUSIC_RIGHT);
    EXPECT_TRUE(musicMuted);
    EXPECT_TRUE(PrintsText("OFF"));
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.0f);
    // The resolution rows wrap, and pointing still works after the resize.
    Click(MENU_RESOLUTION_LEFT);
    EXPECT_EQ(resolutionIndex, 4);
    EXPECT_EQ(windowWidth, 960);
    EXPECT_EQ(windowHeight, 540);
    EXPECT_TRUE(PrintsText("960 x 540"));
    Click(MENU_RESOLUTION_RIGHT);
    EXPECT_EQ(resolutionIndex, 0);
    EXPECT_EQ(windowWidth, 1920);
    Click(MENU_RESOLUTION_LEFT);
    Click(MENU_RESOLUTION_LEFT);
    EXPECT_EQ(windowWidth, 1600);
    EXPECT_EQ(windowHeight, 900);
    Click(MENU_FULLSCREEN_LEFT);
    EXPECT_TRUE(isFullscreen);
    EXPECT_EQ(resolutionIndex, 0);
    std::vector<PrintedText> texts = RecordPrintedTexts();
    EXPECT_TRUE(FindPrinted(texts, " ENABLED") && FindPrinted(texts, "1920 x 1080"));
    // In full screen (1920 by 1080 here) the cursor and clicks stay in layout units.
    Hover(MENU_PLAY);
    EXPECT_FLOAT_EQ(drawScale, 1.5f);
    EXPECT_NEAR(FindObject("Cursor")->position[0], MENU_PLAY.x, 1.0f);
    EXPECT_NEAR(FindObject("Cursor")->position[1], MENU_PLAY.y, 1.0f);
    Click(MENU_FULLSCREEN_RIGHT);
    EXPECT_FALSE(isFullscreen);
    EXPECT_TRUE(PrintsText(" DISABLED"));
    Click(MENU_SETTINGS); // the panel's texts are drawn only while it is open
    EXPECT_TRUE(RecordPrintedTexts().empty());
}

// Where No and Yes lead is proven with every other door (doors_test).
TEST_F(MainMenuTest, TheQuitButtonStaysDarkBehindItsConfirmation) {
    Click(MENU_QUIT);
    ASSERT_TRUE(quitDialogOpen);
    Hover(MENU_QUIT);
    EXPECT_EQ(PictureOf("QuitButton"), "QuitButtonDEF.png");
}

TEST_F(MainMenuTest, NothingPrintedEachFrameAndSilentMusicWhileTheWindowIsInactive) {
    ASSERT_NE(menuMusicChannel, nullptr);
    testing::internal::CaptureStdout();
    RunFrames(3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    LoseFocus();
    RunFrames(2);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.0f);
    GainFocus();
    RunFrames(2);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.5f);
}

TEST_F(MainMenuTest, ToleratesHavingNoChannelForItsTrack) {
    LeaveGame(); // leave the menu, take every channel, and come back to a new menu
    Sound* filler = LoadSound("data\\Spring_Village.mp3");
    ASSERT_NE(filler, nullptr);
    while (PlaySound(filler, true)) {
    }
    EnterGame(GS_MAIN_MENU);
    RunFrames(5);
    Click(MENU_SETTINGS);
    Click(MENU_VOLUME_LEFT);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    EXPECT_EQ(menuMusicChannel, nullptr);
    EXPECT_FALSE(menuMusicStarted) << "no track plays, the next Init may try again";
    EXPECT_EQ(volume, 40);
}

// The idle menu changes only when the knight's animation steps: the frames in
// between are not drawn again (the window keeps showing the menu), and any
// window event (the window system may have lost the picture) gets one drawn.
// Frames are stepped here with their pixels drawn, as the game runs them.
TEST_F(MainMenuTest, UnchangedFramesAreNotDrawnAgain) {
    int held = 0, drawn = 0;
    for (int frame = 0; frame < 60; frame++) {
        StepGameStateManager();
        (BatchLastFrameCounters().drawCalls == 0 ? held : drawn)++;
    }
    EXPECT_GT(held, 40);
    EXPECT_GE(drawn, 5);
    for (int frame = 0; frame < 20 && BatchLastFrameCounters().drawCalls != 0; frame++)
        StepGameStateManager();
    ASSERT_EQ(BatchLastFrameCounters().drawCalls, 0);
    int w = 0, h = 0, lit = 0;
    PlatformGetClientSize(&w, &h);
    reference::Recording(true); // nothing recorded: the window is drawn black over the menu
    reference::DrawRecorded(w, h);
    reference::Recording(false);
    const std::vector<uint8_t> read = BatchReadPixels(w, h); // a held frame is shown to be read
    for (size_t i = 0; i < read.size(); i += 4)
        lit += (read[i] | read[i + 1] | read[i + 2]) != 0;
    EXPECT_GT(lit, w * h * 9 / 10) << "the menu fills the window";
    for (int frame = 0; frame < 10; frame++) {
        PlatformPushFocus(true);
        StepGameStateManager();
        EXPECT_GT(BatchLastFrameCounters().drawCalls, 0) << "frame " << frame;
    }
}
