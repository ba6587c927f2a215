// Main menu (state 4) driven as a player drives it: the real screens through
// the state manager on the stepped clock, clicks and keys as window events,
// and the menu's flags, objects, sound channels, printed texts and pixels
// read back. Also the quit confirmation's two layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "engine/audio/sound.h"
#include "engine/graphics/texture.h"
#include "harness/harness.h"
#include "objects/game_object.h"
#include "screens/main_menu.h"
#include "screens/quit_dialog.h"
#include "screens/ui.h"

namespace {

// Design positions of the menu's buttons.
struct Point {
    float x, y;
};
constexpr Point PLAY = {0.7f, 100};
constexpr Point HOW_TO_PLAY = {0.7f, -10};
constexpr Point CREDITS = {0.7f, -123};
constexpr Point QUIT = {0.7f, -235};
constexpr Point SPEAKER = {-550, -300};
constexpr Point SETTINGS = {-460, -300};
constexpr Point EFFECTS = {-370, -300};
constexpr Point RESOLUTION_LEFT = {-110, 30};
constexpr Point RESOLUTION_RIGHT = {110, 30};
constexpr Point FULLSCREEN_LEFT = {-110, -70};
constexpr Point FULLSCREEN_RIGHT = {110, -70};
constexpr Point VOLUME_LEFT = {-110, -170};
constexpr Point VOLUME_RIGHT = {110, -170};
constexpr Point MUSIC_RIGHT = {110, -260};
constexpr Point YES = {180, -175};
constexpr Point NO = {-180, -175};
constexpr Point EMPTY = {-600, 250}; // over the background only

void Click(Point p) {
    ClickDesign(p.x, p.y);
}
void Hover(Point p) {
    MoveCursorToDesign(p.x, p.y);
    RunFrames(1);
}

bool InHouseSelection() {
    return currentState == GS_HOUSE_SELECT;
}
bool InMainMenu() {
    return currentState == GS_MAIN_MENU;
}

// The settings and music state every test starts from.
void ResetSharedSettings() {
    volume = 50;
    soundMuted = musicMuted = sfxMuted = false;
    resolutionIndex = 0;
    fullscreenChosen = false;
    menuMusicStarted = false;
    menuMusicReleased = false;
}

// Leaves the running game the way the game does (Free and Unload run), and
// puts the window, sounds and input back as a new test expects them.
void LeaveGame() {
    if (!GameHasQuit()) {
        nextState = GS_QUIT;
        RunFrames(1);
    }
    StopAllSounds();
    MouseUp();
    if (isFullscreen) SetFullscreen(false);
    SetWindowResolution(1280, 720);
    RunFrames(1);
}

// Starts a new game at `state` with the shared settings reset.
void EnterGame(int32_t state) {
    ResetSharedSettings();
    StartGame(state);
}

// One engine for the whole suite (re-creating the GL context per test is
// slow); every test starts a new game on it.
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

// ---------------------------------------------------------------------------
// Buttons and their pictures
// ---------------------------------------------------------------------------

TEST_F(MainMenuTest, InitMakesTheObjectsInDrawingOrder) {
    const char* expected[] = {"BG",
                              "BGKnight",
                              "Panel",
                              "PlayButton",
                              "HowToPlayButton",
                              "QuitButton",
                              "CreditsButton",
                              "Ashgrove_Logo",
                              "VolumeButton",
                              "SettingsButton",
                              "SettingsMenu",
                              "ResolutionArrowLeft",
                              "ResolutionArrowRight",
                              "FullscreenArrowLeft",
                              "FullscreenArrowRight",
                              "VolumeArrowLeft",
                              "VolumeArrowRight",
                              "MusicArrowLeft",
                              "MusicArrowRight",
                              "SFXButton",
                              "Cursor",
                              "Wall"};
    std::vector<std::string> names;
    for (GameObject* object : objectList)
        if (object->alive) names.push_back(object->name);
    ASSERT_EQ(names.size(), std::size(expected));
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(names[i], expected[i]) << i;
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

TEST_F(MainMenuTest, ButtonsShowTheirHoverPictureOnlyWhilePointedAt) {
    struct {
        Point at;
        const char* object;
        const char* idle;
        const char* hover;
    } cases[] = {
        {PLAY, "PlayButton", "PlayButtonDEF.png", "PlayButtonPressed.png"},
        {HOW_TO_PLAY, "HowToPlayButton", "HowToPlayButtonDEF.png", "HowToPlayButtonPressed.png"},
        {CREDITS, "CreditsButton", "CreditsButton.png", "CreditsButtonPressed.png"},
        {QUIT, "QuitButton", "QuitButtonDEF.png", "QuitButtonPressed.png"},
        {SPEAKER, "VolumeButton", "VolumeButton.png", "VolumeButtonHoover.png"},
        {SETTINGS, "SettingsButton", "SettingsButton.png", "SettingsButtonHoover.png"},
        {EFFECTS, "SFXButton", "SFXButtonActiveMM.png", "SFXButtonActivePressedMM.png"},
    };
    Hover(EMPTY);
    for (const auto& c : cases)
        EXPECT_EQ(PictureOf(c.object), c.idle) << c.object;
    for (const auto& c : cases) {
        Hover(c.at);
        EXPECT_EQ(PictureOf(c.object), c.hover) << c.object;
        for (const auto& other : cases)
            if (&other != &c) {
                EXPECT_EQ(PictureOf(other.object), other.idle) << other.object;
            }
    }
    // The hovered picture is what is drawn: the Play button's pixels change.
    Hover(EMPTY);
    Screenshot idle = CaptureFrame();
    Hover(PLAY);
    Screenshot hovered = CaptureFrame();
    int changed = 0;
    for (float x = -120; x <= 120; x += 10)
        for (float y = 70; y <= 130; y += 10)
            changed += idle.AtDesign(x, y) != hovered.AtDesign(x, y);
    EXPECT_GT(changed, 10);
}

TEST_F(MainMenuTest, ToggleButtonsShowTheirFlagsPictures) {
    Click(EFFECTS);
    EXPECT_TRUE(sfxMuted);
    EXPECT_EQ(PictureOf("SFXButton"), "SFXButtonInactivePressedMM.png");
    Hover(EMPTY);
    EXPECT_EQ(PictureOf("SFXButton"), "SFXButtonInactiveMM.png");
    Click(EFFECTS);
    EXPECT_FALSE(sfxMuted);
    Click(SPEAKER);
    EXPECT_EQ(PictureOf("VolumeButton"), "VolumeMutedButtonHoover.png");
    Hover(EMPTY);
    EXPECT_EQ(PictureOf("VolumeButton"), "VolumeMutedButton.png");
}

TEST_F(MainMenuTest, PlayClosesTheCurtainAndReachesHouseSelectionAfterTwoSeconds) {
    GameObject* wall = FindObject("Wall");
    ASSERT_NE(wall, nullptr);
    EXPECT_FLOAT_EQ(wall->position[1], -800);
    MoveCursorToDesign(PLAY.x, PLAY.y);
    MouseDown();
    RunFrames(1);
    EXPECT_TRUE(playPressed);
    EXPECT_FLOAT_EQ(wall->position[1], -790);
    MouseUp();
    // 81 steps of 10 bring the curtain to 10, where it stops.
    RunFrames(85);
    EXPECT_FLOAT_EQ(wall->position[1], 10);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    int more = RunFramesUntil(InHouseSelection, 100);
    int total = 1 + 85 + more;
    EXPECT_GE(total, 119);
    EXPECT_LE(total, 122);
    EXPECT_EQ(currentState, GS_HOUSE_SELECT);
    EXPECT_EQ(previousState, GS_MAIN_MENU);
}

TEST_F(MainMenuTest, PlayHowToPlayAndCreditsDoNothingUnderTheSettingsPanel) {
    Click(SETTINGS);
    ASSERT_TRUE(menuSettingsOpen);
    EXPECT_TRUE(FindObject("SettingsMenu")->visible);
    for (Point p : {PLAY, HOW_TO_PLAY, CREDITS}) {
        Click(p);
        RunFrames(2);
        EXPECT_FALSE(playPressed);
        EXPECT_EQ(nextState, GS_MAIN_MENU);
        EXPECT_EQ(currentState, GS_MAIN_MENU);
    }
    // Closed again, Play works.
    Click(SETTINGS);
    EXPECT_FALSE(menuSettingsOpen);
    EXPECT_FALSE(FindObject("SettingsMenu")->visible);
    EXPECT_FALSE(FindObject("VolumeArrowLeft")->visible);
    Click(PLAY);
    EXPECT_TRUE(playPressed);
}

TEST_F(MainMenuTest, NothingButItsButtonsWorksUnderTheQuitConfirmation) {
    Click(QUIT);
    ASSERT_TRUE(quitDialogOpen);
    for (Point p : {PLAY, HOW_TO_PLAY, CREDITS, QUIT}) {
        Click(p);
        RunFrames(2);
        EXPECT_FALSE(playPressed);
        EXPECT_EQ(currentState, GS_MAIN_MENU);
        EXPECT_EQ(ObjectsNamed("quitMessage").size(), 1u) << "a second confirmation";
    }
    // The quit button does not light up behind the confirmation.
    Hover(QUIT);
    EXPECT_EQ(PictureOf("QuitButton"), "QuitButtonDEF.png");
}

TEST_F(MainMenuTest, HowToPlayAndCreditsLeadToTheirScreens) {
    Click(HOW_TO_PLAY);
    RunFramesUntil([] { return currentState != GS_MAIN_MENU; }, 5);
    EXPECT_EQ(currentState, GS_HOW_TO_PLAY);
    TapKey(VK_SPACE);
    RunFramesUntil(InMainMenu, 5);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(2);
    Click(CREDITS);
    RunFramesUntil([] { return currentState != GS_MAIN_MENU; }, 5);
    EXPECT_EQ(currentState, GS_LOGO_CREDITS);
}

// ---------------------------------------------------------------------------
// Speaker, effects and the settings panel
// ---------------------------------------------------------------------------

TEST_F(MainMenuTest, SpeakerSetsAndClearsAllThreeMuteFlags) {
    ASSERT_NE(menuMusicChannel, nullptr) << "the menu track did not start";
    Click(SPEAKER);
    EXPECT_TRUE(soundMuted);
    EXPECT_TRUE(musicMuted);
    EXPECT_TRUE(sfxMuted);
    RunFrames(1);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.0f);
    Click(SPEAKER);
    EXPECT_FALSE(soundMuted);
    EXPECT_FALSE(musicMuted);
    EXPECT_FALSE(sfxMuted);
    RunFrames(1);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.5f);
    // Effects muted alone are cleared too by the speaker's second click.
    sfxMuted = true;
    Click(SPEAKER);
    Click(SPEAKER);
    EXPECT_FALSE(sfxMuted);
}

TEST_F(MainMenuTest, VolumeStepsDownToZeroAndUpToHundred) {
    Click(SETTINGS);
    int expected[] = {40, 30, 20, 10, 0, 0};
    for (int value : expected) {
        Click(VOLUME_LEFT);
        EXPECT_EQ(volume, value);
    }
    RunFrames(1);
    EXPECT_FLOAT_EQ(menuMusicChannel ? menuMusicChannel->volume : 0.0f, 0.0f);
    for (int i = 0; i < 10; ++i)
        Click(VOLUME_RIGHT);
    EXPECT_EQ(volume, 100);
    Click(VOLUME_RIGHT);
    EXPECT_EQ(volume, 100);
    // The hovered arrow is tinted red, the others not.
    Hover(VOLUME_RIGHT);
    EXPECT_TRUE(FindObject("VolumeArrowRight")->useTint);
    EXPECT_EQ(FindObject("VolumeArrowRight")->tintColor, 0xFFFF0000u);
    EXPECT_FALSE(FindObject("VolumeArrowLeft")->useTint);
    // The panel prints the volume as "%3d" at (−30, −185), 1.2 times as large.
    auto texts = RecordPrintedTexts();
    bool found = false;
    for (const PrintedText& t : texts)
        if (t.text == "100") {
            found = true;
            EXPECT_NEAR(t.x, -30 * drawScale, 0.01f);
            EXPECT_NEAR(t.y, -185 * drawScale, 0.01f);
            EXPECT_NEAR(t.scale, 1.2f * drawScale, 0.01f);
            EXPECT_EQ(t.color, 0xFFD4AF37u);
        }
    EXPECT_TRUE(found);
}

TEST_F(MainMenuTest, MusicArrowsToggleMusicAndThePanelSaysSo) {
    Click(SETTINGS);
    auto has = [](const char* text) {
        for (const PrintedText& t : RecordPrintedTexts())
            if (t.text == text) return true;
        return false;
    };
    EXPECT_TRUE(has("ON"));
    Click(MUSIC_RIGHT);
    EXPECT_TRUE(musicMuted);
    EXPECT_TRUE(has("OFF"));
    RunFrames(1);
    ASSERT_NE(menuMusicChannel, nullptr);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.0f);
    // The panel's texts are drawn only while it is open.
    Click(SETTINGS);
    EXPECT_TRUE(RecordPrintedTexts().empty());
}

TEST_F(MainMenuTest, ResolutionArrowsWrapAndDrawingFollowsTheNewSize) {
    Click(SETTINGS);
    Click(RESOLUTION_LEFT);
    EXPECT_EQ(resolutionIndex, 4);
    EXPECT_EQ(windowWidth, 960);
    EXPECT_EQ(windowHeight, 540);
    RunFrames(1);
    EXPECT_FLOAT_EQ(drawScale, 0.75f);
    // Clicks still land in the layout's units after the resize.
    bool found = false;
    for (const PrintedText& t : RecordPrintedTexts())
        if (t.text == "960 x 540") {
            found = true;
            EXPECT_NEAR(t.x, -85 * 0.75f, 0.01f);
            EXPECT_NEAR(t.scale, 0.75f, 0.01f);
        }
    EXPECT_TRUE(found);
    SaveShot("menu_settings_960x540");
    Hover(PLAY);
    EXPECT_EQ(PictureOf("PlayButton"), "PlayButtonPressed.png");
    Click(RESOLUTION_RIGHT);
    EXPECT_EQ(resolutionIndex, 0);
    EXPECT_EQ(windowWidth, 1920);
    Click(RESOLUTION_LEFT);
    EXPECT_EQ(resolutionIndex, 4);
    Click(RESOLUTION_LEFT);
    EXPECT_EQ(resolutionIndex, 3);
    EXPECT_EQ(windowWidth, 1600);
    EXPECT_EQ(windowHeight, 900);
}

TEST_F(MainMenuTest, FullscreenArrowsSwitchAndShowRowZero) {
    resolutionIndex = 2;
    Click(SETTINGS);
    ASSERT_FALSE(isFullscreen);
    Click(FULLSCREEN_LEFT);
    EXPECT_TRUE(isFullscreen);
    EXPECT_EQ(resolutionIndex, 0);
    RunFrames(1);
    bool enabled = false, row0 = false;
    for (const PrintedText& t : RecordPrintedTexts()) {
        enabled |= t.text == " ENABLED";
        row0 |= t.text == "1920 x 1080";
    }
    EXPECT_TRUE(enabled);
    EXPECT_TRUE(row0);
    SaveShot("menu_settings_fullscreen");
    Click(FULLSCREEN_RIGHT);
    EXPECT_FALSE(isFullscreen);
    EXPECT_EQ(resolutionIndex, 0);
    bool disabled = false;
    for (const PrintedText& t : RecordPrintedTexts())
        disabled |= t.text == " DISABLED";
    EXPECT_TRUE(disabled);
}

TEST_F(MainMenuTest, InFullScreenTheCursorAndClicksStayInLayoutUnits) {
    // Started in full screen (1920 by 1080 here): one scale of 1.5 for both
    // drawing and clicks, and no extra division of the cursor on entering.
    LeaveGame();
    SetFullscreen(true);
    EnterGame(GS_MAIN_MENU);
    fullscreenChosen = true;
    MoveCursorToDesign(PLAY.x, PLAY.y);
    RunFrames(2);
    EXPECT_FLOAT_EQ(drawScale, 1.5f);
    GameObject* cursor = FindObject("Cursor");
    ASSERT_NE(cursor, nullptr);
    EXPECT_NEAR(cursor->position[0], PLAY.x, 1.0f);
    EXPECT_NEAR(cursor->position[1], PLAY.y, 1.0f);
    EXPECT_EQ(PictureOf("PlayButton"), "PlayButtonPressed.png");
    Screenshot shot = CaptureFrame();
    EXPECT_EQ(shot.width, 1920);
    SaveShot("menu_fullscreen_hover_play");
    Click(SETTINGS);
    EXPECT_TRUE(menuSettingsOpen);
    Click(VOLUME_RIGHT);
    EXPECT_EQ(volume, 60);
}

// ---------------------------------------------------------------------------
// Quit confirmation
// ---------------------------------------------------------------------------

TEST_F(MainMenuTest, QuitConfirmationNoClosesItAndYesEndsTheProgram) {
    Click(QUIT);
    ASSERT_TRUE(quitDialogOpen);
    GameObject* message = FindObject("quitMessage");
    ASSERT_NE(message, nullptr);
    EXPECT_FLOAT_EQ(message->scale[0], -500);
    EXPECT_FLOAT_EQ(FindObject("yesButton")->position[0], 180);
    EXPECT_FLOAT_EQ(FindObject("noButton")->position[0], -180);
    EXPECT_NE(FindObject("CursorDestrcutive"), nullptr);
    // The hovered button shows the plain picture, the other the pressed one.
    Hover(YES);
    EXPECT_EQ(PictureOf("yesButton"), "YesButton.png");
    EXPECT_EQ(PictureOf("noButton"), "NoButtonPressed.png");
    SaveShot("menu_quit_yes_hovered");
    Click(NO);
    EXPECT_FALSE(quitDialogOpen);
    EXPECT_EQ(FindObject("quitMessage"), nullptr);
    EXPECT_EQ(FindObject("yesButton"), nullptr);
    EXPECT_EQ(FindObject("CursorDestrcutive"), nullptr);
    EXPECT_FALSE(GameHasQuit());
    Click(QUIT);
    ASSERT_TRUE(quitDialogOpen);
    Click(YES);
    EXPECT_TRUE(GameHasQuit());
    EXPECT_EQ(currentState, GS_QUIT);
}

TEST_F(MainMenuTest, QuitConfirmationInABattleUsesTheNarrowLayout) {
    // Any state but the menu gets the battle's layout (the pause menu calls it).
    int32_t saved = currentState;
    currentState = GS_LEVEL1;
    OpenQuitDialog();
    OpenQuitDialog(); // a second call makes no second dialog
    currentState = saved;
    EXPECT_EQ(ObjectsNamed("quitMessage").size(), 1u);
    GameObject* message = FindObject("quitMessage");
    ASSERT_NE(message, nullptr);
    EXPECT_FLOAT_EQ(message->scale[0], -450);
    EXPECT_FLOAT_EQ(FindObject("yesButton")->position[0], 90);
    EXPECT_FLOAT_EQ(FindObject("yesButton")->position[1], -150);
    EXPECT_FLOAT_EQ(FindObject("noButton")->position[0], -90);
    EXPECT_TRUE(IsQuitDialogOpen());
    CloseQuitDialog();
    EXPECT_FALSE(IsQuitDialogOpen());
    EXPECT_EQ(FindObject("noButton"), nullptr);
    EXPECT_EQ(FindObject("CursorDestrcutive"), nullptr);
}

// ---------------------------------------------------------------------------
// Curtains and music across screens
// ---------------------------------------------------------------------------

TEST_F(MainMenuTest, ComingBackFromLoseStartsUnderACurtainThatDropsAway) {
    LeaveGame();
    EnterGame(GS_LOSE);
    RunFrames(3);
    TapKey(VK_SPACE);
    RunFramesUntil(InMainMenu, 5);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    ASSERT_EQ(previousState, GS_LOSE);
    auto walls = ObjectsNamed("Wall");
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
}

TEST_F(MainMenuTest, ComingBackFromWinCoversTheFirstFrame) {
    // Entered straight after a win screen: the first frame drawn is covered.
    LeaveGame();
    EnterGame(GS_MAIN_MENU);
    previousState = GS_WIN;
    Screenshot first = CaptureFrame();
    auto walls = ObjectsNamed("Wall");
    ASSERT_EQ(walls.size(), 2u);
    EXPECT_FLOAT_EQ(walls[1]->position[1], -10);
    // On that frame the curtain covers the whole menu: nearly every sample
    // differs from the same frame once the curtain has dropped away.
    RunFrames(90);
    Screenshot open = CaptureFrame();
    int covered = 0, samples = 0;
    for (float x = -600; x <= 600; x += 100)
        for (float y = -330; y <= 330; y += 60, ++samples)
            covered += first.AtDesign(x, y) != open.AtDesign(x, y);
    EXPECT_GT(covered, samples * 9 / 10);
}

TEST_F(MainMenuTest, ReturningFromOtherScreensDoesNotStartASecondTrack) {
    ASSERT_NE(menuMusicChannel, nullptr) << "the menu track did not start";
    Channel* track = menuMusicChannel;
    ASSERT_EQ(BusyChannelCount(), 1);
    // Credits, then M back.
    Click(CREDITS);
    RunFramesUntil([] { return currentState == GS_LOGO_CREDITS; }, 5);
    ASSERT_EQ(currentState, GS_LOGO_CREDITS);
    TapKey('M');
    RunFramesUntil(InMainMenu, 5);
    RunFrames(2);
    EXPECT_EQ(BusyChannelCount(), 1);
    EXPECT_EQ(menuMusicChannel, track);
    // How to play, then Space back.
    Click(HOW_TO_PLAY);
    RunFramesUntil([] { return currentState == GS_HOW_TO_PLAY; }, 5);
    ASSERT_EQ(currentState, GS_HOW_TO_PLAY);
    TapKey(VK_SPACE);
    RunFramesUntil(InMainMenu, 5);
    RunFrames(2);
    EXPECT_EQ(BusyChannelCount(), 1);
    // House selection, then M back.
    Click(PLAY);
    RunFramesUntil(InHouseSelection, 200);
    ASSERT_EQ(currentState, GS_HOUSE_SELECT);
    TapKey('M');
    RunFramesUntil(InMainMenu, 5);
    RunFrames(2);
    EXPECT_EQ(BusyChannelCount(), 1);
    EXPECT_EQ(menuMusicChannel, track);
    // R restarts the menu without a second track either.
    TapKey('R');
    RunFrames(2);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    EXPECT_EQ(BusyChannelCount(), 1);
    EXPECT_TRUE(IsChannelPlaying(track));
}

TEST_F(MainMenuTest, MusicIsSilentWhileTheWindowIsInactive) {
    ASSERT_NE(menuMusicChannel, nullptr);
    RunFrames(1);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.5f);
    LoseFocus();
    RunFrames(2);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.0f);
    GainFocus();
    RunFrames(2);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.5f);
}

TEST_F(MainMenuTest, ToleratesHavingNoChannelForItsTrack) {
    // Leave the menu, take every channel, and come back to a new menu.
    LeaveGame();
    ResetSharedSettings();
    Sound* filler = LoadSound("data\\Spring_Village.mp3");
    ASSERT_NE(filler, nullptr);
    while (PlaySound(filler, true)) {
    }
    ASSERT_EQ(FreeChannelCount(), 0);
    testing::internal::CaptureStdout();
    StartGame(GS_MAIN_MENU);
    RunFrames(5);
    Click(SETTINGS);
    Click(VOLUME_LEFT);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    EXPECT_EQ(menuMusicChannel, nullptr);
    EXPECT_FALSE(menuMusicStarted) << "no track plays, the next Init may try again";
    EXPECT_EQ(volume, 40);
    EXPECT_EQ(printed.find('\n'), std::string::npos) << "trace line without a channel";
    StopAllSounds();
}

TEST_F(MainMenuTest, TraceLineReportsTheChannelVolumeEveryFrame) {
    ASSERT_NE(menuMusicChannel, nullptr);
    testing::internal::CaptureStdout();
    RunFrames(3);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 3);
    EXPECT_NE(printed.find("0.5"), std::string::npos);
}

// ---------------------------------------------------------------------------
// Screenshots of the menu and its hover states
// ---------------------------------------------------------------------------

TEST_F(MainMenuTest, Screenshots) {
    Hover(EMPTY);
    SaveShot("menu_idle");
    struct {
        Point at;
        const char* name;
    } hovers[] = {{PLAY, "menu_hover_play"},       {HOW_TO_PLAY, "menu_hover_howtoplay"},
                  {CREDITS, "menu_hover_credits"}, {QUIT, "menu_hover_quit"},
                  {SPEAKER, "menu_hover_speaker"}, {SETTINGS, "menu_hover_settings"},
                  {EFFECTS, "menu_hover_effects"}};
    for (const auto& h : hovers) {
        Hover(h.at);
        SaveShot(h.name);
    }
    Click(SPEAKER);
    Hover(EMPTY);
    SaveShot("menu_speaker_muted");
    Click(SETTINGS);
    Hover(VOLUME_LEFT);
    SaveShot("menu_settings_arrow_hovered");
    Click(SETTINGS);
    Click(QUIT);
    Hover(NO);
    SaveShot("menu_quit_no_hovered");
}

} // namespace
