// Main menu (state 4): buttons and their pictures, the settings panel, the
// speaker and effects switches, the quit confirmation's two layouts, the
// curtains and the menu track across screens.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/global_keys.h"
#include "app/settings.h"
#include "engine/graphics/texture.h"
#include "harness/screen_helpers.h"
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

// Clicks `p`, then runs frames until the state is `state` (at most `limit`).
void ClickAndReach(Point p, int32_t state, int limit = 5) {
    static int32_t wanted;
    wanted = state;
    Click(p);
    RunFramesUntil([] { return currentState == wanted; }, limit);
    ASSERT_EQ(currentState, state);
}

// Taps `key` and runs until the menu is back, then two more frames.
void BackToMenuWith(int key) {
    TapKey(key);
    RunFramesUntil([] { return currentState == GS_MAIN_MENU; }, 5);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(2);
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

TEST_F(MainMenuTest, InitMakesTheObjectsInDrawingOrder) {
    EXPECT_EQ(LiveObjectNames(),
              "BG BGKnight Panel PlayButton HowToPlayButton QuitButton CreditsButton Ashgrove_Logo "
              "VolumeButton SettingsButton SettingsMenu ResolutionArrowLeft ResolutionArrowRight "
              "FullscreenArrowLeft FullscreenArrowRight VolumeArrowLeft VolumeArrowRight "
              "MusicArrowLeft MusicArrowRight SFXButton Cursor Wall ");
    // Hidden panel, tinted large buttons, pictures turned by π, cursor by 1.2π.
    EXPECT_FALSE(FindObject("SettingsMenu")->visible);
    EXPECT_FALSE(FindObject("MusicArrowRight")->visible);
    EXPECT_TRUE(FindObject("QuitButton")->useTint);
    EXPECT_EQ(FindObject("QuitButton")->tintColor, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(FindObject("Panel")->rotation, PI_F);
    EXPECT_FLOAT_EQ(FindObject("Cursor")->rotation, CURSOR_ROTATION);
    EXPECT_EQ(PictureOf("ResolutionArrowLeft"), "ArrowRight.png");
    EXPECT_EQ(PictureOf("ResolutionArrowRight"), "Arrow.png");
    EXPECT_TRUE(static_cast<Sprite*>(FindObject("BGKnight"))->playing);
    EXPECT_FLOAT_EQ(FindObject("Wall")->position[1], -800);
    EXPECT_FALSE(menuMusicReleased);
}

// Every button's hover picture shows only while it is pointed at, and is what
// is drawn; the switches show their flags. Each state is saved for looking at.
TEST_F(MainMenuTest, Screenshots) {
    struct {
        Point at;
        const char* object;
        const char* idle;
        const char* hover;
        const char* shot;
    } cases[] = {
        {MENU_PLAY, "PlayButton", "PlayButtonDEF.png", "PlayButtonPressed.png", "menu_hover_play"},
        {MENU_HOW_TO_PLAY, "HowToPlayButton", "HowToPlayButtonDEF.png",
         "HowToPlayButtonPressed.png", "menu_hover_howtoplay"},
        {MENU_CREDITS, "CreditsButton", "CreditsButton.png", "CreditsButtonPressed.png",
         "menu_hover_credits"},
        {MENU_QUIT, "QuitButton", "QuitButtonDEF.png", "QuitButtonPressed.png", "menu_hover_quit"},
        {MENU_SPEAKER, "VolumeButton", "VolumeButton.png", "VolumeButtonHoover.png",
         "menu_hover_speaker"},
        {MENU_SETTINGS, "SettingsButton", "SettingsButton.png", "SettingsButtonHoover.png",
         "menu_hover_settings"},
        {MENU_EFFECTS, "SFXButton", "SFXButtonActiveMM.png", "SFXButtonActivePressedMM.png",
         "menu_hover_effects"},
    };
    Hover(MENU_EMPTY);
    Screenshot idle = CaptureShot("menu_idle");
    for (const auto& c : cases)
        EXPECT_EQ(PictureOf(c.object), c.idle) << c.object;
    for (const auto& c : cases) {
        Hover(c.at);
        for (const auto& other : cases)
            EXPECT_EQ(PictureOf(other.object), &other == &c ? c.hover : other.idle)
                << c.object << " / " << other.object;
        Screenshot hovered = CaptureShot(c.shot);
        if (c.at.y == MENU_PLAY.y) { // what is drawn changes with the picture
            EXPECT_GT(ChangedSamples(idle, hovered, -120, 70, 120, 130, 10), 10);
        }
    }
    Click(MENU_EFFECTS);
    EXPECT_TRUE(sfxMuted);
    EXPECT_EQ(PictureOf("SFXButton"), "SFXButtonInactivePressedMM.png");
    Hover(MENU_EMPTY);
    EXPECT_EQ(PictureOf("SFXButton"), "SFXButtonInactiveMM.png");
    Click(MENU_EFFECTS);
    EXPECT_FALSE(sfxMuted);
    Click(MENU_SPEAKER);
    EXPECT_EQ(PictureOf("VolumeButton"), "VolumeMutedButtonHoover.png");
    Hover(MENU_EMPTY);
    EXPECT_EQ(PictureOf("VolumeButton"), "VolumeMutedButton.png");
    SaveShot("menu_speaker_muted");
    Click(MENU_SETTINGS);
    Hover(MENU_VOLUME_LEFT);
    SaveShot("menu_settings_arrow_hovered");
    Click(MENU_SETTINGS);
    Click(MENU_QUIT);
    Hover(MENU_NO);
    SaveShot("menu_quit_no_hovered");
}

TEST_F(MainMenuTest, PlayClosesTheCurtainAndReachesHouseSelectionAfterTwoSeconds) {
    GameObject* wall = FindObject("Wall");
    ASSERT_NE(wall, nullptr);
    EXPECT_FLOAT_EQ(wall->position[1], -800);
    MoveCursorToDesign(MENU_PLAY.x, MENU_PLAY.y);
    MouseDown();
    RunFrames(1);
    EXPECT_TRUE(playPressed);
    EXPECT_FLOAT_EQ(wall->position[1], -790);
    MouseUp();
    RunFrames(85); // 81 steps of 10 bring the curtain to 10, where it stops
    EXPECT_FLOAT_EQ(wall->position[1], 10);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    int total = 1 + 85 + RunFramesUntil([] { return currentState == GS_HOUSE_SELECT; }, 100);
    EXPECT_GE(total, 119);
    EXPECT_LE(total, 122);
    EXPECT_EQ(currentState, GS_HOUSE_SELECT);
    EXPECT_EQ(previousState, GS_MAIN_MENU);
}

TEST_F(MainMenuTest, LargeButtonsDoNothingUnderTheSettingsPanelOrTheQuitConfirmation) {
    for (Point opener : {MENU_SETTINGS, MENU_QUIT}) {
        Click(opener);
        ASSERT_TRUE(opener.x == MENU_QUIT.x ? quitDialogOpen : menuSettingsOpen);
        EXPECT_TRUE(opener.x == MENU_QUIT.x || FindObject("SettingsMenu")->visible);
        for (Point p : {MENU_PLAY, MENU_HOW_TO_PLAY, MENU_CREDITS, MENU_QUIT}) {
            if (p.y == MENU_QUIT.y && opener.x != MENU_QUIT.x) continue;
            Click(p);
            RunFrames(2);
            EXPECT_FALSE(playPressed);
            EXPECT_EQ(nextState, GS_MAIN_MENU);
            EXPECT_EQ(currentState, GS_MAIN_MENU);
            EXPECT_EQ(ObjectsNamed("quitMessage").size(), opener.x == MENU_QUIT.x ? 1u : 0u);
        }
        if (opener.x == MENU_QUIT.x) {
            Hover(MENU_QUIT); // the quit button does not light up behind the confirmation
            EXPECT_EQ(PictureOf("QuitButton"), "QuitButtonDEF.png");
            continue;
        }
        Click(MENU_SETTINGS); // closed again, Play works
        EXPECT_FALSE(menuSettingsOpen);
        EXPECT_FALSE(FindObject("SettingsMenu")->visible);
        EXPECT_FALSE(FindObject("VolumeArrowLeft")->visible);
        Click(MENU_PLAY);
        EXPECT_TRUE(playPressed);
        LeaveGame();
        SetUp();
    }
}

TEST_F(MainMenuTest, SpeakerSetsAndClearsAllThreeMuteFlags) {
    ASSERT_NE(menuMusicChannel, nullptr) << "the menu track did not start";
    for (bool muted : {true, false}) {
        Click(MENU_SPEAKER);
        EXPECT_EQ(soundMuted, muted);
        EXPECT_EQ(musicMuted, muted);
        EXPECT_EQ(sfxMuted, muted);
        RunFrames(1);
        EXPECT_FLOAT_EQ(menuMusicChannel->volume, muted ? 0.0f : 0.5f);
    }
    sfxMuted = true; // effects muted alone are cleared too by the speaker's second click
    Click(MENU_SPEAKER);
    Click(MENU_SPEAKER);
    EXPECT_FALSE(sfxMuted);
}

TEST_F(MainMenuTest, SettingsPanelVolumeAndMusic) {
    Click(MENU_SETTINGS);
    EXPECT_TRUE(PrintsText("ON"));
    for (int value : {40, 30, 20, 10, 0, 0}) {
        Click(MENU_VOLUME_LEFT);
        EXPECT_EQ(volume, value);
    }
    RunFrames(1);
    ASSERT_NE(menuMusicChannel, nullptr);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.0f);
    for (int i = 0; i < 10; ++i)
        Click(MENU_VOLUME_RIGHT);
    EXPECT_EQ(volume, 100);
    Click(MENU_VOLUME_RIGHT);
    EXPECT_EQ(volume, 100);
    // The hovered arrow is tinted red, the others not.
    EXPECT_TRUE(FindObject("VolumeArrowRight")->useTint);
    EXPECT_EQ(FindObject("VolumeArrowRight")->tintColor, 0xFFFF0000u);
    EXPECT_FALSE(FindObject("VolumeArrowLeft")->useTint);
    // The panel prints the volume as "%3d" at (−30, −185), 1.2 times as large.
    std::vector<PrintedText> texts = RecordPrintedTexts();
    const PrintedText* shown = FindPrinted(texts, "100");
    ASSERT_TRUE(shown);
    EXPECT_NEAR(shown->x, -30 * drawScale, 0.01f);
    EXPECT_NEAR(shown->y, -185 * drawScale, 0.01f);
    EXPECT_NEAR(shown->scale, 1.2f * drawScale, 0.01f);
    EXPECT_EQ(shown->color, 0xFFD4AF37u);
    Click(MENU_MUSIC_RIGHT);
    EXPECT_TRUE(musicMuted);
    EXPECT_TRUE(PrintsText("OFF"));
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.0f);
    Click(MENU_SETTINGS); // the panel's texts are drawn only while it is open
    EXPECT_TRUE(RecordPrintedTexts().empty());
}

TEST_F(MainMenuTest, ResolutionArrowsWrapAndFullscreenArrowsShowRowZero) {
    Click(MENU_SETTINGS);
    Click(MENU_RESOLUTION_LEFT);
    EXPECT_EQ(resolutionIndex, 4);
    EXPECT_EQ(windowWidth, 960);
    EXPECT_EQ(windowHeight, 540);
    RunFrames(1);
    EXPECT_FLOAT_EQ(drawScale, 0.75f);
    std::vector<PrintedText> texts = RecordPrintedTexts();
    const PrintedText* row = FindPrinted(texts, "960 x 540");
    ASSERT_TRUE(row);
    EXPECT_NEAR(row->x, -85 * 0.75f, 0.01f);
    EXPECT_NEAR(row->scale, 0.75f, 0.01f);
    SaveShot("menu_settings_960x540");
    Hover(MENU_PLAY); // pointing still works in layout units after the resize
    EXPECT_EQ(PictureOf("PlayButton"), "PlayButtonPressed.png");
    Click(MENU_RESOLUTION_RIGHT);
    EXPECT_EQ(resolutionIndex, 0);
    EXPECT_EQ(windowWidth, 1920);
    Click(MENU_RESOLUTION_LEFT);
    Click(MENU_RESOLUTION_LEFT);
    EXPECT_EQ(resolutionIndex, 3);
    EXPECT_EQ(windowWidth, 1600);
    EXPECT_EQ(windowHeight, 900);
    Click(MENU_FULLSCREEN_LEFT);
    EXPECT_TRUE(isFullscreen);
    EXPECT_EQ(resolutionIndex, 0);
    RunFrames(1);
    texts = RecordPrintedTexts();
    EXPECT_TRUE(FindPrinted(texts, " ENABLED") && FindPrinted(texts, "1920 x 1080"));
    SaveShot("menu_settings_fullscreen");
    Click(MENU_FULLSCREEN_RIGHT);
    EXPECT_FALSE(isFullscreen);
    EXPECT_EQ(resolutionIndex, 0);
    EXPECT_TRUE(PrintsText(" DISABLED"));
}

TEST_F(MainMenuTest, InFullScreenTheCursorAndClicksStayInLayoutUnits) {
    // Started in full screen (1920 by 1080 here): one scale of 1.5 for drawing
    // and clicks, and no extra division of the cursor on entering.
    LeaveGame();
    SetFullscreen(true);
    EnterGame(GS_MAIN_MENU);
    fullscreenChosen = true;
    MoveCursorToDesign(MENU_PLAY.x, MENU_PLAY.y);
    RunFrames(2);
    EXPECT_FLOAT_EQ(drawScale, 1.5f);
    GameObject* cursor = FindObject("Cursor");
    ASSERT_NE(cursor, nullptr);
    EXPECT_NEAR(cursor->position[0], MENU_PLAY.x, 1.0f);
    EXPECT_NEAR(cursor->position[1], MENU_PLAY.y, 1.0f);
    EXPECT_EQ(PictureOf("PlayButton"), "PlayButtonPressed.png");
    EXPECT_EQ(CaptureShot("menu_fullscreen_hover_play").width, 1920);
    Click(MENU_SETTINGS);
    EXPECT_TRUE(menuSettingsOpen);
    Click(MENU_VOLUME_RIGHT);
    EXPECT_EQ(volume, 60);
}

TEST_F(MainMenuTest, QuitConfirmationNoClosesItAndYesEndsTheProgram) {
    Click(MENU_QUIT);
    ASSERT_TRUE(quitDialogOpen);
    ASSERT_NE(FindObject("quitMessage"), nullptr);
    EXPECT_FLOAT_EQ(FindObject("quitMessage")->scale[0], -500);
    EXPECT_FLOAT_EQ(FindObject("yesButton")->position[0], 180);
    EXPECT_FLOAT_EQ(FindObject("noButton")->position[0], -180);
    EXPECT_NE(FindObject("CursorDestrcutive"), nullptr);
    // The hovered button shows the plain picture, the other the pressed one.
    Hover(MENU_YES);
    EXPECT_EQ(PictureOf("yesButton"), "YesButton.png");
    EXPECT_EQ(PictureOf("noButton"), "NoButtonPressed.png");
    SaveShot("menu_quit_yes_hovered");
    Click(MENU_NO);
    EXPECT_FALSE(quitDialogOpen);
    for (const char* gone : {"quitMessage", "yesButton", "CursorDestrcutive"})
        EXPECT_EQ(FindObject(gone), nullptr) << gone;
    EXPECT_FALSE(GameHasQuit());
    Click(MENU_QUIT);
    Click(MENU_YES);
    EXPECT_TRUE(GameHasQuit());
    EXPECT_EQ(currentState, GS_QUIT);
}

TEST_F(MainMenuTest, QuitConfirmationInABattleUsesTheNarrowLayout) {
    int32_t saved = currentState;
    currentState = GS_LEVEL1; // any state but the menu gets the pause menu's layout
    OpenQuitDialog();
    OpenQuitDialog(); // a second call makes no second dialog
    currentState = saved;
    ASSERT_EQ(ObjectsNamed("quitMessage").size(), 1u);
    EXPECT_FLOAT_EQ(FindObject("quitMessage")->scale[0], -450);
    EXPECT_FLOAT_EQ(FindObject("yesButton")->position[0], 90);
    EXPECT_FLOAT_EQ(FindObject("yesButton")->position[1], -150);
    EXPECT_FLOAT_EQ(FindObject("noButton")->position[0], -90);
    EXPECT_TRUE(IsQuitDialogOpen());
    CloseQuitDialog();
    EXPECT_FALSE(IsQuitDialogOpen());
    EXPECT_EQ(FindObject("noButton"), nullptr);
    EXPECT_EQ(FindObject("CursorDestrcutive"), nullptr);
}

TEST_F(MainMenuTest, ComingBackFromLoseOrWinStartsUnderACurtainThatDropsAway) {
    LeaveGame();
    EnterGame(GS_LOSE);
    RunFrames(3);
    BackToMenuWith(VK_SPACE);
    ASSERT_EQ(previousState, GS_LOSE);
    std::vector<GameObject*> walls = ObjectsNamed("Wall");
    ASSERT_EQ(walls.size(), 2u);
    GameObject* curtain = walls[1]; // drawn over the menu's own
    EXPECT_TRUE(returnWallMade);
    float y = curtain->position[1];
    EXPECT_LE(y, 0);
    EXPECT_GT(y, -100);
    RunFrames(1);
    EXPECT_FLOAT_EQ(curtain->position[1], y - 10);
    RunFrames(100);
    EXPECT_FLOAT_EQ(curtain->position[1], -810);

    // Entered straight after a win screen, the first frame drawn is all curtain.
    LeaveGame();
    EnterGame(GS_MAIN_MENU);
    previousState = GS_WIN;
    Screenshot first = CaptureFrame();
    walls = ObjectsNamed("Wall");
    ASSERT_EQ(walls.size(), 2u);
    EXPECT_FLOAT_EQ(walls[1]->position[1], -10);
    RunFrames(90);
    Screenshot open = CaptureFrame();
    EXPECT_GT(ChangedSamples(first, open, -600, -330, 600, 330, 60), 21 * 12 * 9 / 10);
}

TEST_F(MainMenuTest, ReturningFromOtherScreensDoesNotStartASecondTrack) {
    ASSERT_NE(menuMusicChannel, nullptr) << "the menu track did not start";
    Channel* track = menuMusicChannel;
    ASSERT_EQ(BusyChannelCount(), 1);
    ClickAndReach(MENU_CREDITS, GS_LOGO_CREDITS);
    BackToMenuWith('M');
    EXPECT_EQ(BusyChannelCount(), 1);
    EXPECT_EQ(menuMusicChannel, track);
    ClickAndReach(MENU_HOW_TO_PLAY, GS_HOW_TO_PLAY);
    BackToMenuWith(VK_SPACE);
    EXPECT_EQ(BusyChannelCount(), 1);
    ClickAndReach(MENU_PLAY, GS_HOUSE_SELECT, 200);
    BackToMenuWith('M');
    EXPECT_EQ(BusyChannelCount(), 1);
    EXPECT_EQ(menuMusicChannel, track);
    TapKey('R'); // R restarts the menu without a second track either
    RunFrames(2);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    EXPECT_EQ(BusyChannelCount(), 1);
    EXPECT_TRUE(IsChannelPlaying(track));
}

TEST_F(MainMenuTest, NothingPrintedEachFrameAndSilentMusicWhileTheWindowIsInactive) {
    ASSERT_NE(menuMusicChannel, nullptr);
    testing::internal::CaptureStdout();
    RunFrames(3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.5f);
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
    ASSERT_EQ(FreeChannelCount(), 0);
    testing::internal::CaptureStdout();
    EnterGame(GS_MAIN_MENU);
    RunFrames(5);
    Click(MENU_SETTINGS);
    Click(MENU_VOLUME_LEFT);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    EXPECT_EQ(menuMusicChannel, nullptr);
    EXPECT_FALSE(menuMusicStarted) << "no track plays, the next Init may try again";
    EXPECT_EQ(volume, 40);
    EXPECT_EQ(printed.find('\n'), std::string::npos) << "trace line without a channel";
}
