// No leaks: a player tours every screen (the splash, the main menu with its
// settings panel, how to play with its pages, the credits, the house
// selection, each level with the pause scroll and every page of it, the win
// screens, a lost level's lose screen and the final picture) and quits from
// the menu; after the quit and before the engine's exit report nothing the
// screens loaded is still held: 0 textures, meshes, fonts, render textures,
// animations and cached sounds, no object, no busy channel, and no "ERROR"
// box from the report. A second test enters each screen alone and leaves it,
// so a leak is pinned to the screen that makes it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "campaign_player.h"
#include "engine/graphics/font.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "objects/animation.h"
#include "screens/win_lose.h"

using namespace campaign;

namespace {

// How-to-play topic buttons (x, y of each).
constexpr float TOPIC_X = -414;
constexpr float TOPIC_Y[5] = {214, 141, 70, 0, -70};

// Everything the screens load, as the exit report counts it.
struct HeldResources {
    int textures, meshes, fonts, renderTextures, animations, sounds, objects;
    std::string Text() const {
        char text[160];
        snprintf(text, sizeof text,
                 "%d textures, %d meshes, %d fonts, %d render textures, %d animations, %d sounds, "
                 "%d objects",
                 textures, meshes, fonts, renderTextures, animations, sounds, objects);
        return text;
    }
};
HeldResources Held() {
    return {TextureCount(),   MeshCount(),       FontCount(),  RenderTextureCount(),
            AnimationCount(), SoundCacheCount(), ObjectCount()};
}

void ExpectNothingHeld(const char* where) {
    HeldResources held = Held();
    EXPECT_EQ(held.textures, 0) << where << ": " << held.Text();
    EXPECT_EQ(held.meshes, 0) << where << ": " << held.Text();
    EXPECT_EQ(held.fonts, 0) << where << ": " << held.Text();
    EXPECT_EQ(held.renderTextures, 0) << where << ": " << held.Text();
    EXPECT_EQ(held.animations, 0) << where << ": " << held.Text();
    EXPECT_EQ(held.sounds, 0) << where << ": " << held.Text();
    EXPECT_EQ(held.objects, 0) << where << ": " << held.Text();
}

bool BattleEnded() {
    return BattleState::battleWon || BattleState::battleLost;
}

// Opens the pause scroll with Escape and waits until its rows work.
void OpenPauseScroll() {
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(BattleState::paused);
    RunFramesUntil(ScrollOpened, 600);
    ASSERT_TRUE(ScrollOpened());
}

// Every page of the pause scroll, each opened and closed as a player does.
void TourPausePages() {
    OpenPauseScroll();
    Click(SETTINGS_ROW);
    ASSERT_TRUE(battle->settingsPageOpen);
    RunFrames(10);
    Click(PAUSE_SETTINGS_BACK);
    ASSERT_FALSE(battle->settingsPageOpen);
    Click(PAUSE_HOW_TO_PLAY);
    ASSERT_TRUE(battle->howToPlayPageShown);
    RunFrames(10);
    Click(PAUSE_HTP_BACK);
    ASSERT_FALSE(battle->howToPlayPageShown);
    Click(PAUSE_CREDITS);
    ASSERT_TRUE(battle->creditsShown);
    RunFrames(120);
    TapKey(VK_SPACE);
    ASSERT_FALSE(battle->creditsShown);
    RunFrames(2);
    Click(EXIT_ROW);
    ASSERT_TRUE(battle->exitMenuOpen);
    RunFrames(10);
    Click(EXIT_BACK);
    ASSERT_FALSE(battle->exitMenuOpen);
    RunFrames(2);
    Click(RESTART);
    ASSERT_TRUE(battle->quitConfirmOpen);
    Click({-90, -150}); // No
    ASSERT_FALSE(battle->quitConfirmOpen);
    RunFrames(2);
    Click(CONTINUE_ROW);
    ASSERT_FALSE(BattleState::paused);
}

// Plays a stretch of the level: a thief, a few troops, an upgrade.
void PlayAWhile(int frames) {
    BattlePlayer player;
    while (player.log.frames < frames && !BattleEnded())
        player.Step();
}

void WaitForIntro() {
    RunFrames(1);
    RunFramesUntil(IntroGone, 200);
    ASSERT_TRUE(IntroGone());
}

// From a win screen (after its curtain) to the next level.
void NextLevel(int32_t next) {
    RunUntilState(GS_WIN, 200);
    ASSERT_EQ(currentState, GS_WIN);
    RunFrames(END_CURTAIN_FRAMES);
    Click(END_RIGHT);
    RunUntilState(next, 300);
    ASSERT_EQ(currentState, next);
    WaitForIntro();
}

TEST(LeakTourTest, EveryScreenThenQuitLeavesNothingForTheExitReport) {
    StartTestEngine(false);
    int boxes = PlatformMessageBoxCount();
    ResetToProgramStart();
    battleSeedOverride = 51;
    srand(5);

    StartGame(GS_SPLASH);
    ASSERT_GT(RunUntilState(GS_MAIN_MENU, 60 * 60), 0);
    RunFrames(5);
    // The menu's settings panel, opened and closed.
    Click(MENU_SETTINGS);
    ASSERT_TRUE(menuSettingsOpen);
    RunFrames(10);
    Click(MENU_SETTINGS);
    // How to play: every page, then Space.
    Click(MENU_HOW_TO_PLAY);
    RunUntilState(GS_HOW_TO_PLAY, 10);
    ASSERT_EQ(currentState, GS_HOW_TO_PLAY);
    RunFrames(5);
    for (float y : TOPIC_Y) {
        ClickDesign(TOPIC_X, y);
        RunFrames(20);
    }
    TapKey(VK_SPACE);
    RunUntilState(GS_MAIN_MENU, 10);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(5);
    // Credits for a while, then M.
    Click(MENU_CREDITS);
    RunUntilState(GS_LOGO_CREDITS, 10);
    ASSERT_EQ(currentState, GS_LOGO_CREDITS);
    RunFrames(600);
    TapKey('M');
    RunUntilState(GS_MAIN_MENU, 10);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(5);
    // Play, a house, level 1 with every pause page.
    MenuToLevel1(HOUSE_WARRIORS);
    ASSERT_FALSE(HasFatalFailure());
    WaitForIntro();
    PlayAWhile(1200);
    TourPausePages();
    PlayAWhile(600);
    TapKey('K');
    // Level 2: play, pause pages, K.
    NextLevel(GS_LEVEL2);
    PlayAWhile(1200);
    TourPausePages();
    TapKey('K');
    // Level 3: one knight, then the enemy takes the castle.
    NextLevel(GS_LEVEL3);
    Click(battle_test::KNIGHT_UP);
    TourPausePages();
    int frames = RunFramesUntil(BattleEnded, 60 * 60 * 10);
    printf("[ leak tour ] level 3 lost after %d frames\n", frames);
    ASSERT_TRUE(BattleState::battleLost);
    RunUntilState(GS_LOSE, 200);
    ASSERT_EQ(currentState, GS_LOSE);
    RunFrames(END_CURTAIN_FRAMES);
    // Restart, then the final picture through K, then the menu and out.
    Click(END_RIGHT);
    RunUntilState(GS_LEVEL3, 300);
    ASSERT_EQ(currentState, GS_LEVEL3);
    WaitForIntro();
    PlayAWhile(600);
    TapKey('K');
    RunUntilState(GS_WIN, 10);
    ASSERT_EQ(currentState, GS_WIN);
    RunFrames(END_CURTAIN_FRAMES);
    FinalPictureToMenuThenQuit();
    ASSERT_FALSE(HasFatalFailure());

    // What the exit report would list.
    UpdateSound();
    ExpectNothingHeld("after the tour");
    EXPECT_EQ(BusyChannelCount(), 0);
    StopTestEngine();
    EXPECT_EQ(PlatformMessageBoxCount(), boxes) << "the exit report showed a box";
}

// The menu's track plays on over how to play, the credits and the house
// selection; quitting from any of them lets nothing outlive the last Unload.
TEST(LeakTourTest, QuitWhileTheMenuTrackPlaysOnLeavesNothing) {
    StartTestEngine(false);
    const struct {
        Point button;
        int32_t screen;
    } exits[] = {{MENU_HOW_TO_PLAY, GS_HOW_TO_PLAY},
                 {MENU_CREDITS, GS_LOGO_CREDITS},
                 {MENU_PLAY, GS_HOUSE_SELECT}};
    for (const auto& exit : exits) {
        SCOPED_TRACE(exit.screen);
        ResetToProgramStart();
        StartGame(GS_MAIN_MENU);
        RunFrames(5);
        ASSERT_NE(menuMusicChannel, nullptr);
        Click(exit.button);
        RunUntilState(exit.screen, 300);
        ASSERT_EQ(currentState, exit.screen);
        RunFrames(30);
        EXPECT_TRUE(IsChannelPlaying(menuMusicChannel));
        TapKey('Q');
        ASSERT_TRUE(GameHasQuit());
        UpdateSound();
        ExpectNothingHeld("quit with the menu track playing");
        EXPECT_EQ(BusyChannelCount(), 0);
    }
    StopTestEngine();
}

// S from the menu starts level 2 straight away: the menu's tracks go as a
// battle begins, so neither plays on under the battle nor outlives the quit.
TEST(LeakTourTest, LevelTwoStraightFromTheMenuReleasesTheMenuTracks) {
    StartTestEngine(false);
    ResetToProgramStart();
    StartGame(GS_MAIN_MENU);
    RunFrames(5);
    ASSERT_NE(menuMusicChannel, nullptr);
    TapKey('S');
    RunUntilState(GS_LEVEL2, 10);
    ASSERT_EQ(currentState, GS_LEVEL2);
    RunFrames(5);
    EXPECT_EQ(menuMusicChannel, nullptr);
    TapKey('Q');
    ASSERT_TRUE(GameHasQuit());
    UpdateSound();
    ExpectNothingHeld("quit from level 2 reached with S");
    StopTestEngine();
}

// Each screen entered alone and left with Q: it releases all it loaded.
struct ScreenVisit {
    int32_t state;
    int32_t cameFrom;
    const char* name;
};

class ScreenLeakTest : public ::testing::TestWithParam<ScreenVisit> {
  protected:
    static void SetUpTestSuite() { StartTestEngine(false); }
    static void TearDownTestSuite() { StopTestEngine(); }
    void TearDown() override {
        RestoreWindowAndInput();
        ResetToProgramStart();
    }
};

TEST_P(ScreenLeakTest, LeavingReleasesEverything) {
    const ScreenVisit& visit = GetParam();
    ResetToProgramStart();
    battleSeedOverride = 61;
    StartGame(visit.state);
    previousState = visit.cameFrom;
    RunFrames(3);
    ASSERT_EQ(currentState, visit.state);
    if (visit.state == GS_LEVEL1 || visit.state == GS_LEVEL2 || visit.state == GS_LEVEL3) {
        RunFramesUntil(IntroGone, 200);
        PlayAWhile(900);
        TourPausePages();
    } else {
        RunFrames(120);
    }
    if (visit.state == GS_SPLASH) {
        nextState = GS_QUIT; // the splash takes no global keys
        RunFrames(1);
    } else {
        TapKey('Q');
    }
    ASSERT_TRUE(GameHasQuit());
    UpdateSound();
    ExpectNothingHeld(visit.name);
}

INSTANTIATE_TEST_SUITE_P(
    EachScreen, ScreenLeakTest,
    ::testing::Values(
        ScreenVisit{GS_SPLASH, GS_SPLASH, "Splash"},
        ScreenVisit{GS_MAIN_MENU, GS_SPLASH, "MainMenu"},
        ScreenVisit{GS_HOUSE_SELECT, GS_MAIN_MENU, "HouseSelect"},
        ScreenVisit{GS_HOW_TO_PLAY, GS_MAIN_MENU, "HowToPlay"},
        ScreenVisit{GS_LOGO_CREDITS, GS_MAIN_MENU, "Credits"},
        ScreenVisit{GS_LEVEL1, GS_HOUSE_SELECT, "Level1"}, ScreenVisit{GS_LEVEL2, GS_WIN, "Level2"},
        ScreenVisit{GS_LEVEL3, GS_WIN, "Level3"}, ScreenVisit{GS_WIN, GS_LEVEL1, "Win"},
        ScreenVisit{GS_WIN, GS_LEVEL3, "FinalPicture"}, ScreenVisit{GS_LOSE, GS_LEVEL2, "Lose"}),
    [](const ::testing::TestParamInfo<ScreenVisit>& info) { return std::string(info.param.name); });

} // namespace
