// Every door between screens: one table of the buttons and keys that change
// the screen, played in order from the program's start, each row checked by
// the screen that follows (its state, a picture it shows, the menu's one
// track). A click that changes the screen at once still sounds after it.
#include <gtest/gtest.h>

#include "campaign_player.h"
#include "engine/platform/platform.h"

using namespace campaign;

namespace {

constexpr Point BOOK_BACK = {-445, -150}, ANYWHERE = {300, -200};
constexpr int LOSS_LIMIT = 60 * 60 * 20; // twenty minutes of a battle nobody defends

// What a screen shows: an object and its picture (null: any picture; "": no such object).
struct Look {
    const char* object;
    const char* picture;
};
const Look SPLASH = {"TarnLogoSprite", nullptr}, MENU = {"BG", "MainMenuBG.png"},
           BOOK = {"BG", "BackgroundHowToPlay.png"}, CREDITS = {"BG", "Credits.png"},
           HOUSES = {"Background", "BackgroundHouses.png"}, WIN = {"BG", "YouWinDEF2.png"},
           LOSE = {"BG", "YouLoseDEF2.png"}, FINAL = {"BG", "FinalNoblemen.png"},
           DIALOG = {"quitMessage", "AreYouSure.png"}, NO_DIALOG = {"quitMessage", ""},
           PAUSED = {"CursorPause", nullptr}, RUNNING = {"CursorPause", ""},
           EXIT_PAGE = {"ExitGameButton", nullptr}, NO_EXIT_PAGE = {"ExitGameButton", ""},
           GONE = {nullptr, nullptr};
// A level shows its own field, and the player's house on the allied counter.
const Look LEVEL[3] = {{"BG", "BackgroundLevelAnim.png"},
                       {"BG", "BackgroundSecondLvAnim.png"},
                       {"BG", "BackgroundThirdLvAnim.png"}};
const char* const COUNTER = "AllieCounterSprite";
const Look HOUSE_COUNTER[4] = {{COUNTER, "FrameCircleNoblemen.png"},
                               {COUNTER, "FrameCircleWorkers.png"},
                               {COUNTER, "FrameCircleWisemen.png"},
                               {COUNTER, "FrameCircleWarriors.png"}};

// The button click started by the next frame, held paused over the change of
// screen that frame asks for: a change that cuts it leaves it stopped.
Channel* heldClick = nullptr;
void ClickAcrossTheChange(Point p) {
    heldClick = nullptr;
    MoveCursorToDesign(p.x, p.y);
    MouseDown();
    RunBeforeNextSwap([] {
        heldClick = ClickCueRecord().newest;
        PauseChannel(heldClick);
    });
    RunFrames(1);
    MouseUp();
    RunFrames(1);
    EXPECT_TRUE(heldClick && IsChannelPlaying(heldClick)) << "the click was cut by the change";
    ResumeChannel(heldClick);
}

void NewProgram() {
    LeaveGame();
    ResetToProgramStart();
    battleSeedOverride = 77;
    StartGame(GS_SPLASH);
    RunFrames(3);
}

// The player's moves, as the table names them.
struct Do {
    template <int KEY> static void Tap() { TapKey(KEY); }
    template <const Point& P> static void Press() { Click(P); }
    template <const Point& P> static void PressAcross() { ClickAcrossTheChange(P); }
    template <int HOUSE> static void Shield() { Click(HOUSE_SELECTORS[HOUSE]); }
    static void Pause() { OpenPauseScroll(); }
    static void HoldSpaceToTheEnd() {
        KeyDown(VK_SPACE);
        RunUntilState(GS_MAIN_MENU, 1000);
        KeyUp(VK_SPACE);
    }
    // The enemy sets out once the player has bought something: one knight, no defence.
    static void LoseByWaiting() {
        Click(KNIGHT_UP);
        RunUntilState(GS_LOSE, LOSS_LIMIT);
    }
};

struct Door {
    const char* name;
    void (*walk)();
    int32_t next; // GS_QUIT: the program ends
    Look look, look2 = GONE;
};

const Door DOORS[] = {
    {"a new program", NewProgram, GS_SPLASH, SPLASH},
    {"splash: Space", Do::Tap<VK_SPACE>, GS_MAIN_MENU, MENU},
    {"menu: How to play", Do::PressAcross<MENU_HOW_TO_PLAY>, GS_HOW_TO_PLAY, BOOK},
    {"book: Back", Do::PressAcross<BOOK_BACK>, GS_MAIN_MENU, MENU},
    {"menu: How to play", Do::PressAcross<MENU_HOW_TO_PLAY>, GS_HOW_TO_PLAY, BOOK},
    {"book: Space", Do::Tap<VK_SPACE>, GS_MAIN_MENU, MENU},
    {"menu: Credits", Do::PressAcross<MENU_CREDITS>, GS_LOGO_CREDITS, CREDITS},
    {"credits: the end", Do::HoldSpaceToTheEnd, GS_MAIN_MENU, MENU},
    {"menu: Credits", Do::PressAcross<MENU_CREDITS>, GS_LOGO_CREDITS, CREDITS},
    {"credits: M", Do::Tap<'M'>, GS_MAIN_MENU, MENU},
    {"menu: R", Do::Tap<'R'>, GS_MAIN_MENU, MENU},
    {"menu: Quit", Do::Press<MENU_QUIT>, GS_MAIN_MENU, DIALOG},
    {"quit confirmation: No", Do::Press<MENU_NO>, GS_MAIN_MENU, NO_DIALOG},
    {"menu: Play", Do::Press<MENU_PLAY>, GS_HOUSE_SELECT, HOUSES},
    {"house selection: M", Do::Tap<'M'>, GS_MAIN_MENU, MENU},
    {"menu: Play", Do::Press<MENU_PLAY>, GS_HOUSE_SELECT, HOUSES},
    {"house selection: Noblemen", Do::Shield<0>, GS_LEVEL1, LEVEL[0], HOUSE_COUNTER[0]},
    {"level 1: K", Do::Tap<'K'>, GS_WIN, WIN},
    {"win after level 1: Next level", Do::Press<END_RIGHT>, GS_LEVEL2, LEVEL[1]},
    {"level 2: K", Do::Tap<'K'>, GS_WIN, WIN},
    {"win after level 2: Next level", Do::Press<END_RIGHT>, GS_LEVEL3, LEVEL[2]},
    {"level 3: K", Do::Tap<'K'>, GS_WIN, FINAL},
    {"final picture: Main menu", Do::Press<FINAL_MENU>, GS_MAIN_MENU, MENU},
    {"menu: Play", Do::Press<MENU_PLAY>, GS_HOUSE_SELECT, HOUSES},
    {"house selection: Workers", Do::Shield<1>, GS_LEVEL1, LEVEL[0], HOUSE_COUNTER[1]},
    {"level 1: K", Do::Tap<'K'>, GS_WIN, WIN},
    {"win after level 1: Main menu", Do::Press<END_MENU>, GS_MAIN_MENU, MENU},
    {"menu: S", Do::Tap<'S'>, GS_LEVEL2, LEVEL[1], HOUSE_COUNTER[1]},
    {"level 2: K", Do::Tap<'K'>, GS_WIN, WIN},
    {"win after level 2: Main menu", Do::Press<END_MENU>, GS_MAIN_MENU, MENU},
    {"menu: Play", Do::Press<MENU_PLAY>, GS_HOUSE_SELECT, HOUSES},
    {"house selection: Wisemen", Do::Shield<2>, GS_LEVEL1, LEVEL[0], HOUSE_COUNTER[2]},
    {"level 1: K", Do::Tap<'K'>, GS_WIN, WIN},
    {"win: Space", Do::Tap<VK_SPACE>, GS_MAIN_MENU, MENU},
    {"menu: Play", Do::Press<MENU_PLAY>, GS_HOUSE_SELECT, HOUSES},
    {"house selection: Warriors", Do::Shield<3>, GS_LEVEL1, LEVEL[0], HOUSE_COUNTER[3]},
    {"level 1: Escape", Do::Pause, GS_LEVEL1, PAUSED},
    {"pause: Restart", Do::Press<RESTART>, GS_LEVEL1, DIALOG},
    {"restart: No", Do::Press<PAUSE_NO>, GS_LEVEL1, NO_DIALOG, PAUSED},
    {"pause: Restart", Do::Press<RESTART>, GS_LEVEL1, DIALOG},
    {"restart: Yes", Do::PressAcross<PAUSE_YES>, GS_LEVEL1, RUNNING, LEVEL[0]},
    {"level 1: Escape", Do::Pause, GS_LEVEL1, PAUSED},
    {"pause: Exit", Do::Press<EXIT_ROW>, GS_LEVEL1, EXIT_PAGE},
    {"exit page: Back", Do::Press<EXIT_BACK>, GS_LEVEL1, NO_EXIT_PAGE, PAUSED},
    {"pause: Continue", Do::Press<CONTINUE_ROW>, GS_LEVEL1, RUNNING},
    {"level 1: R", Do::Tap<'R'>, GS_LEVEL1, RUNNING, HOUSE_COUNTER[3]},
    {"level 1: Escape", Do::Pause, GS_LEVEL1, PAUSED},
    {"pause: Exit", Do::Press<EXIT_ROW>, GS_LEVEL1, EXIT_PAGE},
    {"exit page: Main menu", Do::Press<QUIT_TO_MENU>, GS_LEVEL1, DIALOG},
    {"to the menu: No", Do::Press<PAUSE_NO>, GS_LEVEL1, NO_DIALOG, EXIT_PAGE},
    {"exit page: Main menu", Do::Press<QUIT_TO_MENU>, GS_LEVEL1, DIALOG},
    {"to the menu: Yes", Do::PressAcross<PAUSE_YES>, GS_MAIN_MENU, MENU},
    {"menu: Play", Do::Press<MENU_PLAY>, GS_HOUSE_SELECT, HOUSES},
    {"house selection: Noblemen", Do::Shield<0>, GS_LEVEL1, LEVEL[0]},
    {"level 1: lost", Do::LoseByWaiting, GS_LOSE, LOSE},
    {"lose after level 1: Restart", Do::Press<END_RIGHT>, GS_LEVEL1, LEVEL[0]},
    {"level 1: K", Do::Tap<'K'>, GS_WIN, WIN},
    {"win after level 1: Next level", Do::Press<END_RIGHT>, GS_LEVEL2, LEVEL[1]},
    {"level 2: lost", Do::LoseByWaiting, GS_LOSE, LOSE},
    {"lose after level 2: Restart", Do::Press<END_RIGHT>, GS_LEVEL2, LEVEL[1]},
    {"level 2: K", Do::Tap<'K'>, GS_WIN, WIN},
    {"win after level 2: Next level", Do::Press<END_RIGHT>, GS_LEVEL3, LEVEL[2]},
    {"level 3: lost", Do::LoseByWaiting, GS_LOSE, LOSE},
    {"lose after level 3: Main menu", Do::Press<END_MENU>, GS_MAIN_MENU, MENU},
    {"menu: S", Do::Tap<'S'>, GS_LEVEL2, LEVEL[1]},
    {"level 2: M", Do::Tap<'M'>, GS_MAIN_MENU, MENU},
    {"menu: Quit", Do::Press<MENU_QUIT>, GS_MAIN_MENU, DIALOG},
    {"quit confirmation: Yes", Do::Press<MENU_YES>, GS_QUIT, GONE},
    {"a new program", NewProgram, GS_SPLASH, SPLASH},
    {"splash: a click", Do::Press<ANYWHERE>, GS_MAIN_MENU, MENU},
    {"menu: Q", Do::Tap<'Q'>, GS_QUIT, GONE},
    {"a new program", NewProgram, GS_SPLASH, SPLASH},
    {"splash: Enter", Do::Tap<VK_RETURN>, GS_MAIN_MENU, MENU},
    {"menu: S", Do::Tap<'S'>, GS_LEVEL2, LEVEL[1]},
    {"level 2: Escape", Do::Pause, GS_LEVEL2, PAUSED},
    {"pause: Exit", Do::Press<EXIT_ROW>, GS_LEVEL2, EXIT_PAGE},
    {"exit page: Exit game", Do::Press<EXIT_GAME>, GS_LEVEL2, DIALOG},
    {"exit game: Yes", Do::Press<PAUSE_YES>, GS_QUIT, GONE},
};

void ExpectShows(const Look& look) {
    if (!look.object) return;
    GameObject* object = FindObject(look.object);
    if (look.picture && !*look.picture) {
        EXPECT_EQ(object, nullptr) << look.object << " still shown";
    } else if (!object) {
        ADD_FAILURE() << look.object << " not shown";
    } else if (look.picture) {
        EXPECT_EQ(PictureOf(object), look.picture) << look.object;
    }
}

// However the menu was reached, one track plays at the settings' volume, and nothing else.
void ExpectOneMenuTrack() {
    ASSERT_NE(menuMusicChannel, nullptr) << "no menu track";
    EXPECT_TRUE(IsChannelPlaying(menuMusicChannel));
    EXPECT_FLOAT_EQ(PlatformAudioGetVolume(menuMusicChannel->voice), 0.5f);
    EXPECT_EQ(BusyChannelsBesideClicks(), 1) << "one track, nothing else";
}

TEST(DoorsTest, EveryButtonAndKeyThatChangesTheScreenLeadsWhereItSays) {
    StartTestEngine(false);
    for (const Door& door : DOORS) {
        SCOPED_TRACE(door.name);
        const int32_t before = currentState;
        door.walk();
        if (door.next == GS_QUIT) {
            ASSERT_TRUE(GameHasQuit());
            continue;
        }
        if (door.next != before) RunUntilState(door.next, 300);
        ASSERT_EQ(currentState, door.next);
        RunFrames(2);
        ExpectShows(door.look);
        ExpectShows(door.look2);
        if (door.next == GS_MAIN_MENU) ExpectOneMenuTrack();
        ASSERT_FALSE(HasFailure());
        // The new screen's buttons come out from under its opening curtain.
        if (door.next != before && door.next != GS_SPLASH) RunFrames(END_CURTAIN_FRAMES);
    }
    StopTestEngine();
}

} // namespace
