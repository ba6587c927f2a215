// The campaign as players meet it, through the real state manager and every
// real screen on the stepped clock, with input entering as a player's does:
// a new player's route for each house from the splash to the final picture
// and out through Quit; the settings chosen in a paused level 1 holding in level 2 and in the main
// menu; restarts during the closing curtain; and the global keys on every
// screen. The menu's music after every way back is checked with the doors
// between screens (doors_test). Battles are
// seeded (battleSeedOverride) so every run plays the same.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "campaign_player.h"
#include "engine/platform/platform.h"

using namespace campaign;

namespace {

const char* const HOUSE_NAMES[4] = {"Noblemen", "Workers", "Wisemen", "Warriors"};
const char* const FINAL_PICTURES[4] = {"FinalNoblemen.png", "FinalWorkers.png", "FinalWisemen.png",
                                       "FinalWarriors.png"};
constexpr int BATTLE_FRAME_LIMIT = 60 * 60 * 12; // twelve minutes of play
// The house whose route wins levels 2 and 3 by play too; the others use K there.
constexpr int FULL_ROUTE_HOUSE = HOUSE_NOBLEMEN;

// One engine per test program; every test starts a new game on it as a
// newly started program would.
class CampaignTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartTestEngine(false); }
    static void TearDownTestSuite() { StopTestEngine(); }
    void SetUp() override { ResetToProgramStart(); }
    void TearDown() override {
        LeaveGame();
        ResetToProgramStart();
    }
};

// A new player's route, one case per house
class HouseRouteTest : public CampaignTest, public ::testing::WithParamInterface<int> {};

TEST_P(HouseRouteTest, SplashToTheFinalPictureAndOut) {
    const int chosen = GetParam();
    battleSeedOverride = 100 + chosen; // each level's Init seeds rand with it
    srand(7);
    StartGame(GS_SPLASH);
    ASSERT_GT(RunUntilState(GS_MAIN_MENU, 60 * 60), 100) << "the splash should play first";
    RunFrames(5);
    MenuToLevel1(chosen);
    ASSERT_FALSE(HasFatalFailure());
    const int32_t levels[3] = {GS_LEVEL1, GS_LEVEL2, GS_LEVEL3};
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(levels[i]);
        ASSERT_EQ(currentState, levels[i]);
        WaitForIntro();
        if (i == 0 || chosen == FULL_ROUTE_HOUSE) {
            BattlePlayer player;
            player.PlayUntilEnd(BATTLE_FRAME_LIMIT);
            const BattleLog& log = player.log;
            printf("[ campaign ] %s level %d: %d frames, %d troops, %d rocks\n",
                   HOUSE_NAMES[chosen], i + 1, log.frames, log.troopsBought, log.rocksThrown);
            ASSERT_TRUE(BattleState::battleWon) << "the enemy castle did not fall";
            EXPECT_FALSE(BattleState::battleLost);
            EXPECT_GT(log.rocksThrown, 0);
            // Rocks alone could not have done it: troops struck the castle too.
            EXPECT_LT(log.rocksThrown * 30, 300);
        } else {
            TapKey('K'); // the other houses take levels 2 and 3 with K (frame budget)
        }
        RunUntilState(GS_WIN, 200);
        ASSERT_EQ(currentState, GS_WIN);
        RunFrames(END_CURTAIN_FRAMES);
        if (i < 2) {
            Click(END_RIGHT);
            RunUntilState(levels[i + 1], 300);
        }
    }
    EXPECT_EQ(PictureOf("BG"), FINAL_PICTURES[chosen]);
    FinalPictureToMenuThenQuit();
    ASSERT_FALSE(HasFatalFailure());
    UpdateSound();
    EXPECT_EQ(ObjectCount(), 0);
    EXPECT_EQ(BusyChannelCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(EachHouse, HouseRouteTest, ::testing::Values(0, 1, 2, 3),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(HOUSE_NAMES[info.param]);
                         });

// Settings chosen while paused hold everywhere after
TEST_F(CampaignTest, PausedSettingsHoldInLevel2AndInTheMenuPanel) {
    SetFullscreen(true); // the program starts in full screen
    fullscreenChosen = true;
    battleSeedOverride = 31;
    NewGameToLevel1(HOUSE_WISEMEN);
    OpenPauseScroll();
    Click(SETTINGS_ROW);
    // Windowed 1280 by 720 is row 2: two steps right from row 0.
    Click(PAUSE_RESOLUTION_RIGHT);
    Click(PAUSE_RESOLUTION_RIGHT);
    for (int i = 0; i < 5; i++)
        Click(PAUSE_VOLUME_LEFT);
    Click(PAUSE_MUSIC_LEFT);
    Click(PAUSE_SETTINGS_BACK);
    Click(CONTINUE_ROW);
    RunFrames(2);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0);
    // Level 2: the same values, and its own music and effects start silent.
    ShortcutToNextLevel(GS_LEVEL2);
    EXPECT_EQ(volume, 0);
    EXPECT_TRUE(musicMuted);
    EXPECT_FALSE(sfxMuted);
    EXPECT_EQ(resolutionIndex, 2);
    EXPECT_FALSE(isFullscreen);
    EXPECT_EQ(windowWidth, 1280);
    EXPECT_EQ(windowHeight, 720);
    EXPECT_TRUE(IsChannelPlaying(battle->musicChannel));
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0);
    for (Channel* channel : battle->effectChannels)
        if (channel) {
            EXPECT_FLOAT_EQ(channel->volume, 0);
        }
    // The main menu's panel shows them.
    TapKey('M');
    RunUntilState(GS_MAIN_MENU, 10);
    RunFrames(90);
    Click(MENU_SETTINGS);
    ASSERT_TRUE(menuSettingsOpen);
    std::vector<PrintedText> texts = RecordPrintedTexts();
    for (const char* shown : {"1280 x 720", " DISABLED", "  0", "OFF"})
        EXPECT_TRUE(FindPrinted(texts, shown)) << shown;
}

// Level 1 to the lose screen's closing curtain: a worn castle and an enemy
// spearman at its gate (the battle's own spawn), then one knight starts it.
void LoseLevel1UntilTheCurtain() {
    battleSeedOverride = 21;
    NewGameToLevel1(HOUSE_NOBLEMEN);
    CastleNamed("AllieDown")->health = 5;
    SpawnEnemyTroop(TROOP_SPEARMAN, false)->position[0] = -560;
    Click(KNIGHT_UP);
    RunFramesUntil(BattleEnded, 200);
    ASSERT_TRUE(BattleState::battleLost);
    ASSERT_EQ(currentState, GS_LEVEL1);
}

// Confirms a pause page's yes: open the scroll, then the given row or button.
void PauseAndConfirm(Point choice, Point page = {0, 0}) {
    OpenPauseScroll();
    if (page.x || page.y) Click(page);
    Click(choice);
    Click(PAUSE_YES);
}

// A restart while the closing curtain runs gives a battle that goes on
struct CurtainRestart {
    const char* name;
    void (*restart)();
    int32_t level; // the battle that follows
};
const CurtainRestart CURTAIN_RESTARTS[] = {
    {"KeyR", [] { TapKey('R'); }, GS_LEVEL1},
    {"PauseRestart", [] { PauseAndConfirm(RESTART); }, GS_LEVEL1},
    {"KeyS", [] { TapKey('S'); }, GS_LEVEL2},
};

class CurtainRestartTest : public CampaignTest,
                           public ::testing::WithParamInterface<CurtainRestart> {};

TEST_P(CurtainRestartTest, TheNewBattleDoesNotEndByItself) {
    LoseLevel1UntilTheCurtain();
    GetParam().restart();
    RunFrames(2);
    ASSERT_EQ(currentState, GetParam().level);
    EXPECT_FALSE(BattleState::battleLost);
    RunFrames(300);
    EXPECT_EQ(currentState, GetParam().level) << "the battle ended by itself";
    EXPECT_FALSE(battle->hudHidden);
    EXPECT_EQ(BattleState::money, 150);
}

INSTANTIATE_TEST_SUITE_P(DuringTheCurtain, CurtainRestartTest,
                         ::testing::ValuesIn(CURTAIN_RESTARTS),
                         [](const ::testing::TestParamInfo<CurtainRestart>& info) {
                             return std::string(info.param.name);
                         });

// R on the end screens and the book replaces their sound, never doubles it
TEST_F(CampaignTest, RestartedScreensKeepOneTrackOrPageTurn) {
    NewGameToLevel1(HOUSE_NOBLEMEN);
    TapKey('K');
    ASSERT_EQ(currentState, GS_WIN);
    RunFrames(2);
    const int busy = BusyChannelsBesideClicks();
    TapKey('R');
    TapKey('R');
    EXPECT_EQ(BusyChannelsBesideClicks(), busy) << "the win track was doubled";
    EXPECT_EQ(PlatformAudioAudibleCount(), 1);
    LoseFocus(); // the screen's track falls silent, and no other plays on
    RunFrames(2);
    EXPECT_EQ(PlatformAudioAudibleCount(), 0);
    GainFocus();
    TapKey(VK_SPACE);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(5);
    Click(MENU_HOW_TO_PLAY);
    RunUntilState(GS_HOW_TO_PLAY, 300);
    RunFrames(2);
    const int bookBusy = BusyChannelsBesideClicks();
    TapKey('R');
    TapKey('R');
    EXPECT_EQ(BusyChannelsBesideClicks(), bookBusy) << "the primed page turn was doubled";
}

// A new channel is never heard louder than the settings allow
TEST_F(CampaignTest, NewChannelsStartAtTheSettingsVolume) {
    NewGameToLevel1(HOUSE_NOBLEMEN);
    OpenPauseScroll();
    Click(SETTINGS_ROW);
    Click(PAUSE_EFFECTS);
    ASSERT_TRUE(sfxMuted);
    Click(PAUSE_SETTINGS_BACK);
    Click(CONTINUE_ROW);
    RunFrames(2);
    // Checked after the very frame that starts the sounds, before the next sync.
    MoveCursorToDesign(KNIGHT_UP.x, KNIGHT_UP.y);
    MouseDown();
    RunFrames(1);
    MouseUp();
    ASSERT_EQ(TroopsNamed("AllieUp").size(), 1u);
    for (int effect : {EFFECT_KNIGHT_SPAWN, EFFECT_SPEND_MONEY}) {
        Channel* channel = battle->effectChannels[effect];
        EXPECT_EQ(channel ? PlatformAudioGetVolume(channel->voice) : -1.0f, 0.0f) << effect;
    }
}

// The global keys on every screen

struct ScreenCase {
    int32_t state;
    int32_t cameFrom; // previousState as the screen is entered
    const char* name;
    bool spaceToMenu;
};
const ScreenCase SCREENS[] = {
    {GS_MAIN_MENU, GS_SPLASH, "main menu", false},
    {GS_HOUSE_SELECT, GS_MAIN_MENU, "house selection", false},
    {GS_HOW_TO_PLAY, GS_MAIN_MENU, "how to play", true},
    {GS_LOGO_CREDITS, GS_MAIN_MENU, "credits", false},
    {GS_LEVEL1, GS_HOUSE_SELECT, "level 1", false},
    {GS_LEVEL2, GS_WIN, "level 2", false},
    {GS_LEVEL3, GS_WIN, "level 3", false},
    {GS_WIN, GS_LEVEL1, "win", true},
    {GS_LOSE, GS_LEVEL2, "lose", true},
};

// Leaves any running game and starts a new one at the screen, with a test
// object that only the screen's Free can remove.
void EnterScreen(const ScreenCase& screen) {
    LeaveGame();
    battleSeedOverride = 41;
    StartGame(screen.state);
    previousState = screen.cameFrom;
    RunFrames(3);
    AddObject(new GameObject(), "Probe", 0, 0, 1, 1, 0, nullptr, nullptr);
}
bool ProbeKept() {
    return FindObject("Probe") != nullptr;
}

TEST_F(CampaignTest, GlobalKeysOnEveryScreen) {
    for (const ScreenCase& screen : SCREENS) {
        SCOPED_TRACE(screen.name);
        EnterScreen(screen);
        ASSERT_EQ(currentState, screen.state);
        // P full screen, O windowed; the screen stays.
        TapKey('P');
        EXPECT_TRUE(isFullscreen && fullscreenChosen);
        TapKey('O');
        EXPECT_FALSE(isFullscreen || fullscreenChosen);
        EXPECT_EQ(currentState, screen.state);
        // Space leaves only the win, lose and how-to-play screens, for the menu.
        TapKey(VK_SPACE);
        EXPECT_EQ(currentState, screen.spaceToMenu ? GS_MAIN_MENU : screen.state);
        EXPECT_EQ(ProbeKept(), !screen.spaceToMenu);
        // R runs the screen's Free and Init: its objects are made anew.
        EnterScreen(screen);
        TapKey('R');
        EXPECT_EQ(currentState, screen.state);
        EXPECT_FALSE(ProbeKept()) << "R did not restart";
        // M to the main menu, S to level 2 (each doing nothing on its own screen).
        for (int key : {'M', 'S'}) {
            int32_t target = key == 'M' ? GS_MAIN_MENU : GS_LEVEL2;
            EnterScreen(screen);
            TapKey(key);
            EXPECT_EQ(currentState, target) << char(key);
            EXPECT_EQ(ProbeKept(), screen.state == target) << char(key);
        }
        // Q ends the program.
        EnterScreen(screen);
        TapKey('Q');
        EXPECT_TRUE(GameHasQuit());
    }
}

TEST_F(CampaignTest, TheSplashIgnoresTheGlobalKeys) {
    StartGame(GS_SPLASH);
    RunFrames(2);
    AddObject(new GameObject(), "Probe", 0, 0, 1, 1, 0, nullptr, nullptr);
    for (int key : {'M', 'R', 'S', 'Q', 'O', 'P'}) {
        TapKey(key);
        EXPECT_EQ(currentState, GS_SPLASH) << static_cast<char>(key);
        EXPECT_TRUE(ProbeKept()) << static_cast<char>(key);
        EXPECT_FALSE(isFullscreen);
    }
    TapKey(VK_SPACE); // the splash's own skip
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

} // namespace
