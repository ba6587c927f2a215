// No leaks: a player tours every screen (the splash, the main menu with its
// settings panel, how to play with its pages, the credits, the house
// selection, each level with every page of the pause scroll, the win
// screens, a lost level's lose screen and the final picture) and quits from
// the menu; after the quit and before the engine's exit report nothing the
// screens loaded is still held: no texture, mesh, font, render texture,
// animation, cached sound, object or busy channel, and no "ERROR" box from
// the report. A second test enters each screen alone and leaves it with Q
// (Escape on the splash), so a leak is pinned to the screen that makes it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "campaign_player.h"
#include "engine/graphics/font.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "objects/animation.h"

using namespace campaign;

namespace {

// What the exit report would list.
void ExpectNothingHeld(const char* where) {
    UpdateSound();
    const int held[] = {TextureCount(),   MeshCount(),       FontCount(),   RenderTextureCount(),
                        AnimationCount(), SoundCacheCount(), ObjectCount(), BusyChannelCount()};
    const char* names[] = {"textures",   "meshes", "fonts",   "render textures",
                           "animations", "sounds", "objects", "busy channels"};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(held[i], 0) << where << ": " << names[i];
}

// Every page of the pause scroll, each opened and closed as a player does.
void TourPausePages() {
    OpenPauseScroll();
    const struct {
        Point open, close; // close {0, 0}: Space
    } pages[] = {{SETTINGS_ROW, PAUSE_SETTINGS_BACK},
                 {PAUSE_HOW_TO_PLAY, PAUSE_HTP_BACK},
                 {EXIT_ROW, EXIT_BACK},
                 {RESTART, PAUSE_NO},
                 {PAUSE_CREDITS, {0, 0}}};
    for (const auto& page : pages) {
        Click(page.open);
        RunFrames(10);
        if (page.close.y == 0)
            TapKey(VK_SPACE);
        else
            Click(page.close);
        RunFrames(2);
        ASSERT_FALSE(battle->settingsPageOpen || battle->howToPlayPageShown ||
                     battle->exitMenuOpen || battle->quitConfirmOpen || battle->creditsShown);
    }
    Click(CONTINUE_ROW);
    ASSERT_FALSE(BattleState::paused);
}

// Plays a stretch of the level: a thief, a few troops, an upgrade.
void PlayAWhile(int frames) {
    BattlePlayer player;
    while (player.log.frames < frames && !BattleEnded())
        player.Step();
}

// Clicks a menu button, spends `frames` on the screen it opens, and leaves with `key`.
void VisitFromMenu(Point button, int32_t screen, int frames, int key) {
    Click(button);
    RunUntilState(screen, 10);
    ASSERT_EQ(currentState, screen);
    RunFrames(frames);
    TapKey(key);
    RunUntilState(GS_MAIN_MENU, 10);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(5);
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
    Click(MENU_SETTINGS);
    RunFrames(10);
    Click(MENU_SETTINGS);
    VisitFromMenu(MENU_HOW_TO_PLAY, GS_HOW_TO_PLAY, 5, VK_SPACE);
    VisitFromMenu(MENU_CREDITS, GS_LOGO_CREDITS, 600, 'M');
    // Play, a house, level 1 with every pause page.
    MenuToLevel1(HOUSE_WARRIORS);
    ASSERT_FALSE(HasFatalFailure());
    WaitForIntro();
    PlayAWhile(1200);
    TourPausePages();
    ShortcutToNextLevel(GS_LEVEL2);
    PlayAWhile(1200);
    TourPausePages();
    ShortcutToNextLevel(GS_LEVEL3);
    // Level 3: one knight, then the enemy takes the castle.
    Click(KNIGHT_UP);
    RunFramesUntil(BattleEnded, 60 * 60 * 10);
    ASSERT_TRUE(BattleState::battleLost);
    RunUntilState(GS_LOSE, 200);
    ASSERT_EQ(currentState, GS_LOSE);
    RunFrames(END_CURTAIN_FRAMES);
    // Restart, then the final picture through K, then the menu and out.
    Click(END_RIGHT);
    RunUntilState(GS_LEVEL3, 300);
    WaitForIntro();
    EXPECT_EQ(BattleState::money, 150); // a fresh battle
    EXPECT_FLOAT_EQ(CastleNamed("AllieDown")->health, 300);
    PlayAWhile(600);
    TapKey('K');
    RunUntilState(GS_WIN, 10);
    RunFrames(END_CURTAIN_FRAMES);
    FinalPictureToMenuThenQuit();
    ASSERT_FALSE(HasFatalFailure());
    ExpectNothingHeld("after the tour");
    StopTestEngine();
    EXPECT_EQ(PlatformMessageBoxCount(), boxes) << "the exit report showed a box";
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
    RunFrames(5);
    ASSERT_EQ(currentState, GS_LEVEL2);
    EXPECT_EQ(menuMusicChannel, nullptr);
    TapKey('Q');
    ASSERT_TRUE(GameHasQuit());
    ExpectNothingHeld("quit from level 2 reached with S");
    StopTestEngine();
}

// Each screen entered alone and left: it releases all it loaded.
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
        LeaveGame();
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
    if (visit.state == GS_SPLASH) { // the splash takes no global keys: skipped, then Q
        TapKey(VK_ESCAPE);
        RunFrames(2);
    }
    TapKey('Q');
    ASSERT_TRUE(GameHasQuit());
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
