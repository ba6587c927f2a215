// The campaign as players meet it, through the real state manager and every
// real screen on the stepped clock, with input entering as a player's does:
// a new player's route for each house from the splash to the final picture
// and out through Quit; a lost level 2 restarted from the lose screen; the
// settings chosen in a paused level 1 holding in level 2 and in the main
// menu; and the global keys on every screen. Battles are seeded
// (battleSeedOverride) so every run plays the same.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "campaign_player.h"
#include "engine/platform/platform.h"
#include "engine/graphics/font.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "objects/animation.h"
#include "screens/win_lose.h"

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
        if (!GameHasQuit()) {
            nextState = GS_QUIT;
            RunFrames(1);
        }
        RestoreWindowAndInput();
        ResetToProgramStart();
        RunFrames(1);
    }
};

// Starts the program at the splash and lets it run to the main menu.
int SplashToMenu() {
    srand(7);
    StartGame(GS_SPLASH);
    return RunUntilState(GS_MAIN_MENU, 60 * 60);
}

// Plays the current level until the enemy castle falls; the log says how.
BattleLog WinBattle() {
    RunFrames(1); // the level's Load and Init run on the first step
    EXPECT_GT(RunFramesUntil(IntroGone, 200), 0);
    BattlePlayer player;
    player.PlayUntilEnd(BATTLE_FRAME_LIMIT);
    return player.log;
}

void PrintLog(const char* what, const BattleLog& log) {
    printf("[ campaign ] %s: %d frames, %d troops, %d thieves, %d upgrades, catapult at frame %d, "
           "%d rocks, enemy castle %.0f\n",
           what, log.frames, log.troopsBought, log.thievesBought, log.upgradesBought,
           log.catapultFrame, log.rocksThrown, log.enemyCastleHealth);
}

// ---------------------------------------------------------------------------
// A new player's route, one case per house
// ---------------------------------------------------------------------------

class HouseRouteTest : public CampaignTest, public ::testing::WithParamInterface<int> {};

TEST_P(HouseRouteTest, SplashToTheFinalPictureAndOut) {
    const int chosen = GetParam();
    auto started = std::chrono::steady_clock::now();
    int totalFrames = frameCounter;

    battleSeedOverride = 100 + chosen; // each level's Init seeds rand with it
    ASSERT_GT(SplashToMenu(), 100) << "the splash should play before the menu";
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(5);
    MenuToLevel1(chosen);
    ASSERT_FALSE(HasFatalFailure());

    const int32_t levels[3] = {GS_LEVEL1, GS_LEVEL2, GS_LEVEL3};
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(levels[i]);
        ASSERT_EQ(currentState, levels[i]);
        if (i == 0 || chosen == FULL_ROUTE_HOUSE) {
            BattleLog log = WinBattle();
            char what[64];
            snprintf(what, sizeof what, "%s level %d", HOUSE_NAMES[chosen], i + 1);
            PrintLog(what, log);
            ASSERT_TRUE(BattleState::battleWon) << "the enemy castle did not fall";
            EXPECT_FALSE(BattleState::battleLost);
            EXPECT_LE(log.enemyCastleHealth, 0);
            EXPECT_TRUE(log.catapultBought);
            EXPECT_GT(log.rocksThrown, 0);
            EXPECT_GT(log.troopsBought, 0);
            // Rocks alone could not have done it: troops struck the castle too.
            EXPECT_LT(log.rocksThrown * 30, 300);
        } else {
            // The other houses take levels 2 and 3 with the K shortcut (frame budget).
            RunFrames(30);
            TapKey('K');
        }
        RunUntilState(GS_WIN, 200);
        ASSERT_EQ(currentState, GS_WIN);
        EXPECT_EQ(previousState, levels[i]);
        RunFrames(END_CURTAIN_FRAMES);
        if (i < 2) {
            Click(END_RIGHT);
            RunUntilState(levels[i + 1], 300);
        }
    }
    // The house's final picture, then the menu.
    EXPECT_EQ(PictureOf("BG"), FINAL_PICTURES[chosen]);
    FinalPictureToMenuThenQuit();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(currentState, GS_QUIT);
    UpdateSound();
    EXPECT_EQ(ObjectCount(), 0);
    EXPECT_EQ(BusyChannelCount(), 0);

    totalFrames = frameCounter - totalFrames;
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    printf("[ campaign ] %s route: %d frames in %.1f s\n", HOUSE_NAMES[chosen], totalFrames,
           seconds);
}

INSTANTIATE_TEST_SUITE_P(EachHouse, HouseRouteTest, ::testing::Values(0, 1, 2, 3),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(HOUSE_NAMES[info.param]);
                         });

// ---------------------------------------------------------------------------
// Shared steps of the shorter scenarios
// ---------------------------------------------------------------------------

// From a new program to the first frames of level 1 as `chosen`: the splash
// skipped with Space, Play, the house.
void NewGameToLevel1(int chosen) {
    srand(7);
    StartGame(GS_SPLASH);
    RunFrames(3);
    TapKey(VK_SPACE);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(5);
    MenuToLevel1(chosen);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    RunFrames(1);
    RunFramesUntil(IntroGone, 200);
    ASSERT_TRUE(IntroGone());
}

// From a running level to the next one through the K shortcut and Next level.
void ShortcutToNextLevel(int32_t next) {
    TapKey('K');
    RunUntilState(GS_WIN, 10);
    ASSERT_EQ(currentState, GS_WIN);
    RunFrames(END_CURTAIN_FRAMES);
    Click(END_RIGHT);
    RunUntilState(next, 300);
    ASSERT_EQ(currentState, next);
    RunFrames(1);
    RunFramesUntil(IntroGone, 200);
}

// Opens the pause scroll with Escape and waits until its rows work.
void OpenPauseScroll() {
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(BattleState::paused);
    RunFramesUntil(ScrollOpened, 600);
    ASSERT_TRUE(ScrollOpened());
}

bool BattleEnded() {
    return BattleState::battleWon || BattleState::battleLost ||
           (currentState != GS_LEVEL1 && currentState != GS_LEVEL2 && currentState != GS_LEVEL3);
}

bool HasText(const std::vector<PrintedText>& texts, const char* text) {
    for (const PrintedText& t : texts)
        if (t.text == text) return true;
    return false;
}

// ---------------------------------------------------------------------------
// A lost level 2, restarted from the lose screen
// ---------------------------------------------------------------------------

TEST_F(CampaignTest, LostLevel2RestartsFromTheLoseScreenThenTheMenu) {
    battleSeedOverride = 21;
    NewGameToLevel1(HOUSE_NOBLEMEN);
    ShortcutToNextLevel(GS_LEVEL2);
    ASSERT_EQ(currentState, GS_LEVEL2);
    // One knight starts the battle; then the player watches the enemy march.
    Click(battle_test::KNIGHT_UP);
    ASSERT_TRUE(battle->battleStarted);
    int frames = RunFramesUntil(BattleEnded, 60 * 60 * 10);
    printf("[ campaign ] level 2 lost after %d frames\n", frames);
    ASSERT_TRUE(BattleState::battleLost);
    EXPECT_FALSE(BattleState::battleWon);
    EXPECT_EQ(battle_test::CastleNamed("AllieDown"), nullptr) << "the player's castle fell";
    RunUntilState(GS_LOSE, 200);
    ASSERT_EQ(currentState, GS_LOSE);
    EXPECT_EQ(previousState, GS_LEVEL2);
    RunFrames(1);
    EXPECT_FALSE(BattleState::battleLost); // the lose screen's Init clears it

    RunFrames(END_CURTAIN_FRAMES);
    Click(END_RIGHT);
    EXPECT_TRUE(restartLevel2);
    RunUntilState(GS_LEVEL2, 300);
    ASSERT_EQ(currentState, GS_LEVEL2);
    RunFrames(1);
    EXPECT_EQ(BattleState::money, 150);
    EXPECT_FALSE(battle->battleStarted);
    EXPECT_TRUE(battle_test::TroopsNamed("EnemyDown").empty());
    EXPECT_TRUE(battle_test::TroopsNamed("EnemyUp").empty());
    GameObject* castle = battle_test::CastleNamed("AllieDown");
    ASSERT_NE(castle, nullptr);
    EXPECT_FLOAT_EQ(castle->health, 300);
    // The restarted level plays on until the player leaves for the menu.
    RunFramesUntil(IntroGone, 200);
    Click(battle_test::KNIGHT_DOWN);
    RunFrames(300);
    EXPECT_FALSE(BattleEnded());
    OpenPauseScroll();
    Click(EXIT_ROW);
    ASSERT_TRUE(battle->exitMenuOpen);
    Click(QUIT_TO_MENU);
    ASSERT_TRUE(battle->quitConfirmOpen);
    Click(PAUSE_YES);
    RunUntilState(GS_MAIN_MENU, 10);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    EXPECT_EQ(previousState, GS_LEVEL2);
}

// ---------------------------------------------------------------------------
// Settings chosen while paused hold everywhere after
// ---------------------------------------------------------------------------

TEST_F(CampaignTest, PausedSettingsHoldInLevel2AndInTheMenuPanel) {
    // The program starts in full screen.
    SetFullscreen(true);
    fullscreenChosen = true;
    battleSeedOverride = 31;
    NewGameToLevel1(HOUSE_WISEMEN);
    ASSERT_TRUE(isFullscreen);
    OpenPauseScroll();
    Click(SETTINGS_ROW);
    ASSERT_TRUE(battle->settingsPageOpen);
    // Windowed 1280 by 720 is row 2: two steps right from row 0.
    Click(PAUSE_RESOLUTION_RIGHT);
    Click(PAUSE_RESOLUTION_RIGHT);
    EXPECT_EQ(resolutionIndex, 2);
    EXPECT_FALSE(isFullscreen);
    EXPECT_EQ(windowWidth, 1280);
    EXPECT_EQ(windowHeight, 720);
    for (int i = 0; i < 5; i++)
        Click(PAUSE_VOLUME_LEFT);
    EXPECT_EQ(volume, 0);
    Click(PAUSE_MUSIC_LEFT);
    EXPECT_TRUE(musicMuted);
    auto texts = RecordPrintedTexts();
    EXPECT_TRUE(HasText(texts, "1280 x 720"));
    EXPECT_TRUE(HasText(texts, " DISABLED"));
    EXPECT_TRUE(HasText(texts, "OFF"));
    Click(PAUSE_SETTINGS_BACK);
    EXPECT_FALSE(battle->settingsPageOpen);
    Click(CONTINUE_ROW);
    EXPECT_FALSE(BattleState::paused);
    RunFrames(2);
    ASSERT_NE(battle->musicChannel, nullptr);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0);

    // Level 2: the same values, and its own music starts silent.
    ShortcutToNextLevel(GS_LEVEL2);
    ASSERT_EQ(currentState, GS_LEVEL2);
    EXPECT_EQ(volume, 0);
    EXPECT_TRUE(musicMuted);
    EXPECT_FALSE(sfxMuted);
    EXPECT_EQ(resolutionIndex, 2);
    EXPECT_FALSE(isFullscreen);
    EXPECT_EQ(windowWidth, 1280);
    EXPECT_EQ(windowHeight, 720);
    ASSERT_NE(battle->musicChannel, nullptr);
    EXPECT_TRUE(IsChannelPlaying(battle->musicChannel));
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0);
    for (Channel* channel : battle->effectChannels)
        if (channel) {
            EXPECT_FLOAT_EQ(channel->volume, 0); // volume 0 silences the effects too
        }

    // The main menu's panel shows them.
    TapKey('M');
    RunUntilState(GS_MAIN_MENU, 10);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(90);
    Click(MENU_SETTINGS);
    ASSERT_TRUE(menuSettingsOpen);
    texts = RecordPrintedTexts();
    std::string printed;
    for (const PrintedText& t : texts)
        printed += "[" + t.text + "]";
    EXPECT_TRUE(HasText(texts, "1280 x 720")) << printed;
    EXPECT_TRUE(HasText(texts, " DISABLED")) << printed;
    EXPECT_TRUE(HasText(texts, "  0")) << printed;
    EXPECT_TRUE(HasText(texts, "OFF")) << printed;
    if (menuMusicChannel) {
        EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0);
    }
}

// ---------------------------------------------------------------------------
// The menu's music after every way back from a battle
// ---------------------------------------------------------------------------

// Level 1 to the lose screen's closing curtain: a worn castle and an enemy
// spearman at its gate (the battle's own spawn), then one knight starts it.
void LoseLevel1UntilTheCurtain() {
    battleSeedOverride = 21;
    NewGameToLevel1(HOUSE_NOBLEMEN);
    battle_test::CastleNamed("AllieDown")->health = 5;
    SpawnEnemyTroop(TROOP_SPEARMAN, false)->position[0] = -560;
    Click(battle_test::KNIGHT_UP);
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

struct MenuRoute {
    const char* name;
    void (*back)(); // from level 1's first frames to the main menu
};
const MenuRoute MENU_ROUTES[] = {
    {"WinScreen",
     [] {
         TapKey('K');
         RunFrames(END_CURTAIN_FRAMES);
         Click(END_MENU);
     }},
    {"LoseScreen",
     [] {
         LeaveGame();
         LoseLevel1UntilTheCurtain();
         RunUntilState(GS_LOSE, 200);
         RunFrames(END_CURTAIN_FRAMES);
         Click(END_MENU);
     }},
    {"PauseExitToMenu", [] { PauseAndConfirm(QUIT_TO_MENU, EXIT_ROW); }},
    {"KeyM", [] { TapKey('M'); }},
    {"FinalPicture",
     [] {
         ShortcutToNextLevel(GS_LEVEL2);
         ShortcutToNextLevel(GS_LEVEL3);
         TapKey('K');
         RunFrames(END_CURTAIN_FRAMES);
         Click(FINAL_MENU);
     }},
    {"KeyS_ThenM",
     [] {
         TapKey('S');
         RunFrames(30);
         TapKey('M');
     }},
};

class MenuMusicRouteTest : public CampaignTest, public ::testing::WithParamInterface<MenuRoute> {};

TEST_P(MenuMusicRouteTest, TheMenuPlaysATrackAgain) {
    NewGameToLevel1(HOUSE_WORKERS);
    GetParam().back();
    RunUntilState(GS_MAIN_MENU, 300);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(2);
    ASSERT_NE(menuMusicChannel, nullptr) << "no menu track after the battle";
    EXPECT_TRUE(IsChannelPlaying(menuMusicChannel));
    EXPECT_FLOAT_EQ(PlatformAudioGetVolume(menuMusicChannel->voice), 0.5f);
    EXPECT_EQ(BusyChannelCount(), 1) << "one track, nothing else";
}

INSTANTIATE_TEST_SUITE_P(BackFromBattle, MenuMusicRouteTest, ::testing::ValuesIn(MENU_ROUTES),
                         [](const ::testing::TestParamInfo<MenuRoute>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// A restart while the closing curtain runs gives a battle that goes on
// ---------------------------------------------------------------------------

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

// ---------------------------------------------------------------------------
// R on the end screens and the book replaces their sound, never doubles it
// ---------------------------------------------------------------------------

TEST_F(CampaignTest, RestartedScreensKeepOneTrackOrPageTurn) {
    NewGameToLevel1(HOUSE_NOBLEMEN);
    TapKey('K');
    ASSERT_EQ(currentState, GS_WIN);
    RunFrames(2);
    const int busy = BusyChannelCount();
    TapKey('R');
    TapKey('R');
    EXPECT_EQ(BusyChannelCount(), busy) << "the win track was doubled";
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
    const int bookBusy = BusyChannelCount();
    TapKey('R');
    TapKey('R');
    EXPECT_EQ(BusyChannelCount(), bookBusy) << "the primed page turn was doubled";
}

// ---------------------------------------------------------------------------
// A new channel is never heard louder than the settings allow
// ---------------------------------------------------------------------------

// The mixer volume of a channel as it stands right now.
float HeardVolume(Channel* channel) {
    return channel ? PlatformAudioGetVolume(channel->voice) : -1.0f;
}

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
    MoveCursorToDesign(battle_test::KNIGHT_UP.x, battle_test::KNIGHT_UP.y);
    MouseDown();
    RunFrames(1);
    MouseUp();
    ASSERT_EQ(battle_test::TroopsNamed("AllieUp").size(), 1u);
    EXPECT_EQ(HeardVolume(battle->effectChannels[EFFECT_KNIGHT_SPAWN]), 0.0f);
    EXPECT_EQ(HeardVolume(battle->effectChannels[EFFECT_SPEND_MONEY]), 0.0f);
}

// ---------------------------------------------------------------------------
// The global keys on every screen
// ---------------------------------------------------------------------------

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

// Leaves any running game and starts a new one at the screen.
void EnterScreen(const ScreenCase& screen) {
    if (!GameHasQuit()) {
        nextState = GS_QUIT;
        RunFrames(1);
    }
    StopAllSounds();
    battleSeedOverride = 41;
    StartGame(screen.state);
    previousState = screen.cameFrom;
    RunFrames(3);
}

// A test object that only the screen's Free can remove.
void AddProbe() {
    AddObject(new GameObject(), "Probe", 0, 0, 1, 1, 0, nullptr, nullptr);
}

TEST_F(CampaignTest, GlobalKeysOnEveryScreen) {
    for (const ScreenCase& screen : SCREENS) {
        SCOPED_TRACE(screen.name);
        EnterScreen(screen);
        ASSERT_EQ(currentState, screen.state);
        // P full screen, O windowed; the screen stays.
        TapKey('P');
        EXPECT_TRUE(isFullscreen);
        EXPECT_TRUE(fullscreenChosen);
        EXPECT_EQ(currentState, screen.state);
        TapKey('O');
        EXPECT_FALSE(isFullscreen);
        EXPECT_FALSE(fullscreenChosen);
        EXPECT_EQ(currentState, screen.state);
        // R runs the screen's Free and Init: its objects are made anew.
        AddProbe();
        TapKey('R');
        EXPECT_EQ(currentState, screen.state);
        EXPECT_EQ(FindObject("Probe"), nullptr) << "R did not restart";
        EXPECT_NE(FindObject("Cursor"), nullptr);
        // Space leaves only the win, lose and how-to-play screens, for the menu.
        AddProbe();
        TapKey(VK_SPACE);
        EXPECT_EQ(currentState, screen.spaceToMenu ? GS_MAIN_MENU : screen.state);
        if (!screen.spaceToMenu) {
            EXPECT_NE(FindObject("Probe"), nullptr);
        }

        // M to the main menu (on the menu itself nothing happens).
        EnterScreen(screen);
        AddProbe();
        TapKey('M');
        EXPECT_EQ(currentState, GS_MAIN_MENU);
        if (screen.state == GS_MAIN_MENU) {
            EXPECT_NE(FindObject("Probe"), nullptr);
        }
        // S starts level 2 (on level 2 itself nothing happens).
        EnterScreen(screen);
        AddProbe();
        TapKey('S');
        EXPECT_EQ(currentState, GS_LEVEL2);
        if (screen.state == GS_LEVEL2) {
            EXPECT_NE(FindObject("Probe"), nullptr);
        }
        // Q ends the program.
        EnterScreen(screen);
        TapKey('Q');
        EXPECT_TRUE(GameHasQuit());
        EXPECT_EQ(currentState, GS_QUIT);
    }
}

TEST_F(CampaignTest, TheSplashIgnoresTheGlobalKeys) {
    StartGame(GS_SPLASH);
    RunFrames(2);
    for (int key : {'M', 'R', 'S', 'Q', 'O', 'P'}) {
        AddProbe();
        TapKey(key);
        EXPECT_EQ(currentState, GS_SPLASH) << static_cast<char>(key);
        EXPECT_NE(FindObject("Probe"), nullptr) << static_cast<char>(key);
        EXPECT_FALSE(GameHasQuit());
        EXPECT_FALSE(isFullscreen);
    }
    // Space is the splash's own skip.
    TapKey(VK_SPACE);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

} // namespace
