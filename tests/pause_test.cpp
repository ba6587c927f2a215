// The battle's pause menu driven as a player drives it: Escape and focus loss,
// the scroll and its rows, the settings page, the exit page and the yes/no
// confirmation, restart, the compact how-to-play page, the credits roll, and
// the sound sync of music, effects and level 3's rain. The real level states
// run through the state manager on the stepped clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "battle/battle_state.h"
#include "engine/audio/sound.h"
#include "engine/graphics/texture.h"
#include "harness/harness.h"
#include "objects/game_object.h"
#include "screens/ui.h"

namespace {

struct Point {
    float x, y;
};
// The scroll.
constexpr Point CONTINUE_ROW = {0, 85};
constexpr Point SETTINGS_ROW = {0, -15};
constexpr Point EXIT_ROW = {0, -100};
constexpr Point RESTART = {-175, -10};
constexpr Point CREDITS = {-185, -150};
constexpr Point HOW_TO_PLAY = {185, -150};
// The settings page.
constexpr Point SETTINGS_BACK = {-175, -150};
constexpr Point EFFECTS = {180, -150};
constexpr Point RESOLUTION_LEFT = {-110, 190};
constexpr Point RESOLUTION_RIGHT = {110, 190};
constexpr Point FULLSCREEN_LEFT = {-110, 90};
constexpr Point FULLSCREEN_RIGHT = {110, 90};
constexpr Point VOLUME_LEFT = {-110, -10};
constexpr Point VOLUME_RIGHT = {110, -10};
constexpr Point MUSIC_LEFT = {-110, -100};
// The exit page and the confirmation.
constexpr Point EXIT_GAME = {-100, 100};
constexpr Point EXIT_BACK = {0, -50};
constexpr Point QUIT_TO_MENU = {100, 100};
constexpr Point YES = {90, -150};
constexpr Point NO = {-90, -150};
// The how-to-play page's back button, and the field.
constexpr Point HTP_BACK = {-545, -260};
constexpr Point KNIGHT_UP = {-572.5f, 310};
constexpr Point KNIGHT_UPGRADER = {-507.5f, 284};
constexpr Point EMPTY = {200, -300};

void Click(Point p) {
    ClickDesign(p.x, p.y);
}
void Hover(Point p) {
    MoveCursorToDesign(p.x, p.y);
    RunFrames(1);
}

// Live objects of this name.
int CountObjects(const char* name) {
    int count = 0;
    for (GameObject* object : objectList)
        count += object && object->alive && object->name == name;
    return count;
}

bool IntroGone() {
    return battle && battle->introWallGone;
}
bool ScrollOpened() {
    return battle->pauseScroll && battle->pauseScroll->ended;
}
bool ScrollRemoved() {
    return battle->pauseScroll == nullptr;
}

// One engine for the suite; every test enters a level afresh.
class PauseTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartTestEngine(false); }
    static void TearDownTestSuite() { StopTestEngine(); }

    void Enter(int32_t state = GS_LEVEL1) {
        volume = 50;
        soundMuted = musicMuted = sfxMuted = false;
        resolutionIndex = 0;
        fullscreenChosen = false;
        house = HOUSE_NOBLEMEN;
        BattleState::knightTier = BattleState::spearmanTier = BattleState::horsemanTier = 0;
        BattleState::knightUpgradePrice = BattleState::spearmanUpgradePrice =
            BattleState::horsemanUpgradePrice = 100;
        ClearBattleEndFlags();
        battleSeedOverride = 11;
        StartGame(state);
        Hover(EMPTY);
        ASSERT_EQ(currentState, state);
        RunFramesUntil(IntroGone, 200);
    }
    // Pauses with Escape and waits for the scroll to unroll.
    void OpenScroll() {
        TapKey(VK_ESCAPE);
        ASSERT_TRUE(BattleState::paused);
        RunFramesUntil(ScrollOpened, 600);
        ASSERT_TRUE(ScrollOpened());
    }
    void TearDown() override {
        if (!GameHasQuit()) {
            nextState = GS_QUIT;
            RunFrames(1);
        }
        StopAllSounds();
        MouseUp();
        GainFocus();
        if (isFullscreen) SetFullscreen(false);
        SetWindowResolution(1280, 720);
        RunFrames(1);
    }
};

// ---------------------------------------------------------------------------
// Opening and closing the scroll
// ---------------------------------------------------------------------------

TEST_F(PauseTest, EscapePausesAtOnceAndFreezesTheBattle) {
    Enter();
    Click(KNIGHT_UP);
    float cooldown = battle->spawnCooldown;
    KeyDown(VK_ESCAPE);
    RunFrames(1);
    EXPECT_TRUE(BattleState::paused);
    EXPECT_EQ(battle->pauseScrollOpen, 1);
    ASSERT_NE(battle->pauseScroll, nullptr);
    EXPECT_EQ(battle->pauseScroll->name, "PauseMenu");
    EXPECT_EQ(CountObjects("CursorPause"), 1);
    KeyUp(VK_ESCAPE);
    RunFrames(30);
    EXPECT_FLOAT_EQ(battle->spawnCooldown, cooldown);
    EXPECT_EQ(static_cast<Sprite*>(battle->background)->playing, 0);
    // The scroll's buttons stay hidden while it unrolls.
    EXPECT_EQ(FindObject("RestartButton")->visible, ScrollOpened() ? 1 : 0);
}

TEST_F(PauseTest, LosingFocusPausesAndComingBackLeavesItPaused) {
    Enter();
    LoseFocus();
    RunFrames(1);
    EXPECT_TRUE(BattleState::paused);
    GainFocus();
    RunFrames(5);
    EXPECT_TRUE(BattleState::paused);
    EXPECT_EQ(CountObjects("PauseMenu"), 1);
}

TEST_F(PauseTest, RowsWorkOnlyOnceTheScrollHasUnrolled) {
    Enter();
    TapKey(VK_ESCAPE);
    ASSERT_FALSE(ScrollOpened());
    Click(CONTINUE_ROW);
    EXPECT_TRUE(BattleState::paused);
    Click(SETTINGS_ROW);
    EXPECT_FALSE(battle->settingsPageOpen);
    RunFramesUntil(ScrollOpened, 600);
    SaveShot("pause_scroll");
    Click(CONTINUE_ROW);
    EXPECT_FALSE(BattleState::paused);
    EXPECT_EQ(CountObjects("RestartButton"), 0);
    EXPECT_EQ(CountObjects("ThingyContinue"), 0);
    EXPECT_EQ(CountObjects("CursorPause"), 0);
    // The battle runs while the scroll plays its closing animation.
    ASSERT_NE(battle->pauseScroll, nullptr);
    EXPECT_EQ(battle->pauseScroll->animation, battleAssets.scrollCloseAnim);
    EXPECT_EQ(static_cast<Sprite*>(battle->background)->playing, 1);
    // Escape while it closes is ignored; once it is gone a new pause opens.
    TapKey(VK_ESCAPE);
    EXPECT_FALSE(BattleState::paused);
    RunFramesUntil(ScrollRemoved, 600);
    EXPECT_EQ(battle->pauseScrollOpen, 0);
    EXPECT_EQ(CountObjects("PauseMenu"), 0);
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(BattleState::paused);
}

TEST_F(PauseTest, RowMarksAndButtonsFollowTheCursor) {
    Enter();
    OpenScroll();
    const char* marks[3] = {"ThingyContinue", "ThingySettings", "ThingyExit"};
    Point rows[3] = {CONTINUE_ROW, SETTINGS_ROW, EXIT_ROW};
    for (int row = 0; row < 3; ++row) {
        Hover(rows[row]);
        for (int mark = 0; mark < 3; ++mark)
            EXPECT_EQ(FindObject(marks[mark])->visible, mark == row ? 1 : 0) << marks[mark];
    }
    Hover(RESTART);
    EXPECT_EQ(PictureOf("RestartButton"), "PauseRestartButtonPressed.png");
    EXPECT_EQ(PictureOf("CreditsButton"), "PauseCreditsButton.png");
    Hover(CREDITS);
    EXPECT_EQ(PictureOf("CreditsButton"), "PauseCreditsButtonPressed.png");
    Hover(HOW_TO_PLAY);
    EXPECT_EQ(PictureOf("HTPButton"), "HowToPlayPauseButtonPressed.png");
    EXPECT_EQ(PictureOf("RestartButton"), "PauseRestartButton.png");
    EXPECT_EQ(FindObject("HTPButton")->visible, 1);
}

// ---------------------------------------------------------------------------
// Settings page
// ---------------------------------------------------------------------------

TEST_F(PauseTest, VolumeArrowsStepByTenAndStopAtTheEnds) {
    Enter();
    OpenScroll();
    Click(SETTINGS_ROW);
    ASSERT_TRUE(battle->settingsPageOpen);
    EXPECT_EQ(CountObjects("CursorSettings"), 1);
    const int expectedDown[6] = {40, 30, 20, 10, 0, 0};
    for (int expected : expectedDown) {
        Click(VOLUME_LEFT);
        EXPECT_EQ(volume, expected);
    }
    volume = 90;
    Click(VOLUME_RIGHT);
    EXPECT_EQ(volume, 100);
    Click(VOLUME_RIGHT);
    EXPECT_EQ(volume, 100);
    volume = 5;
    Click(VOLUME_LEFT);
    EXPECT_EQ(volume, 0);
}

TEST_F(PauseTest, ArrowsAreRedWhileHovered) {
    Enter();
    OpenScroll();
    Click(SETTINGS_ROW);
    Hover(VOLUME_RIGHT);
    GameObject* hovered = FindObject("VolumeArrowRight");
    GameObject* other = FindObject("VolumeArrowLeft");
    EXPECT_EQ(hovered->useTint, 1);
    EXPECT_EQ(hovered->tintColor, 0xFFFF0000u);
    EXPECT_EQ(other->useTint, 0);
    EXPECT_EQ(PictureOf(hovered), "Arrow.png");
    EXPECT_EQ(PictureOf(other), "ArrowRight.png");
    Hover(EMPTY);
    EXPECT_EQ(hovered->useTint, 0);
}

TEST_F(PauseTest, ResolutionArrowsWrapAndResizeTheWindow) {
    Enter();
    OpenScroll();
    Click(SETTINGS_ROW);
    Click(RESOLUTION_LEFT);
    EXPECT_EQ(resolutionIndex, 4);
    RunFrames(1);
    EXPECT_EQ(windowWidth, 960);
    EXPECT_EQ(windowHeight, 540);
    // Clicks keep landing on the arrows at the new size.
    Click(RESOLUTION_RIGHT);
    EXPECT_EQ(resolutionIndex, 0);
    EXPECT_EQ(windowWidth, 1920);
    EXPECT_EQ(windowHeight, 1080);
    Click(RESOLUTION_RIGHT);
    EXPECT_EQ(resolutionIndex, 1);
    EXPECT_EQ(windowWidth, 1336);
    EXPECT_EQ(windowHeight, 768);
}

TEST_F(PauseTest, FullScreenOnShowsRowZeroAndOffRestoresTheWindow) {
    Enter();
    OpenScroll();
    Click(SETTINGS_ROW);
    Click(RESOLUTION_LEFT); // 960 x 540, row 4
    ASSERT_EQ(resolutionIndex, 4);
    Click(FULLSCREEN_RIGHT);
    EXPECT_TRUE(isFullscreen);
    EXPECT_EQ(resolutionIndex, 0);
    RunFrames(1);
    Click(FULLSCREEN_LEFT);
    EXPECT_FALSE(isFullscreen);
    EXPECT_EQ(resolutionIndex, 0);
    EXPECT_EQ(windowWidth, 960);
    EXPECT_EQ(windowHeight, 540);
}

TEST_F(PauseTest, MusicArrowsAndEffectsButtonFlipTheirSwitches) {
    Enter();
    OpenScroll();
    Click(SETTINGS_ROW);
    Click(MUSIC_LEFT);
    EXPECT_TRUE(musicMuted);
    Click(MUSIC_LEFT);
    EXPECT_FALSE(musicMuted);
    Hover(EMPTY);
    EXPECT_EQ(PictureOf("SFXButtonPause"), "SFXButtonPauseActive.png");
    Hover(EFFECTS);
    EXPECT_EQ(PictureOf("SFXButtonPause"), "SFXButtonPauseActivePressed.png");
    Click(EFFECTS);
    EXPECT_TRUE(sfxMuted);
    EXPECT_EQ(PictureOf("SFXButtonPause"), "SFXButtonPauseInactivePressed.png");
    Hover(EMPTY);
    EXPECT_EQ(PictureOf("SFXButtonPause"), "SFXButtonPauseInactive.png");
}

TEST_F(PauseTest, BackClosesTheSettingsPageAndItsTwelveObjects) {
    Enter();
    OpenScroll();
    int before = ObjectCount();
    Click(SETTINGS_ROW);
    EXPECT_EQ(ObjectCount(), before + 12);
    Hover(SETTINGS_BACK);
    EXPECT_EQ(PictureOf("backButton"), "BackToPausePressed.png");
    Click(SETTINGS_BACK);
    EXPECT_FALSE(battle->settingsPageOpen);
    RunFrames(1);
    EXPECT_EQ(ObjectCount(), before);
    // The scroll works again.
    Click(SETTINGS_ROW);
    EXPECT_TRUE(battle->settingsPageOpen);
}

TEST_F(PauseTest, ASettingsRowClickDoesNotAlsoStepTheVolume) {
    // The row's ends lie under the volume arrows of the page it opens.
    Enter();
    OpenScroll();
    ClickDesign(-85, -15);
    ASSERT_TRUE(battle->settingsPageOpen);
    EXPECT_EQ(volume, 50);
}

// ---------------------------------------------------------------------------
// Exit page and confirmation
// ---------------------------------------------------------------------------

TEST_F(PauseTest, AnExitRowClickDoesNotAlsoCloseTheExitPage) {
    // The row's lower half lies under the page's back button.
    Enter();
    OpenScroll();
    ClickDesign(0, -85);
    EXPECT_TRUE(battle->exitMenuOpen);
    EXPECT_EQ(CountObjects("QuitToMenuButton"), 1);
}

TEST_F(PauseTest, ExitPageToTheMainMenuThroughYes) {
    Enter();
    OpenScroll();
    Click(EXIT_ROW);
    ASSERT_TRUE(battle->exitMenuOpen);
    Hover(QUIT_TO_MENU);
    EXPECT_EQ(PictureOf("QuitToMenuButton"), "ReturnToMainMenuButtonPressed.png");
    EXPECT_EQ(PictureOf("ExitGameButton"), "ExitGameButton.png");
    Click(QUIT_TO_MENU);
    ASSERT_TRUE(battle->quitConfirmOpen);
    EXPECT_TRUE(battle->returnToMenuChosen);
    EXPECT_EQ(CountObjects("yesButton"), 1);
    SaveShot("pause_confirmation");
    Click(YES);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

TEST_F(PauseTest, ExitGameThroughYesEndsTheProgram) {
    Enter();
    OpenScroll();
    Click(EXIT_ROW);
    Click(EXIT_GAME);
    ASSERT_TRUE(battle->quitConfirmOpen);
    EXPECT_FALSE(battle->returnToMenuChosen);
    Click(YES);
    EXPECT_TRUE(GameHasQuit());
}

TEST_F(PauseTest, NoClosesTheConfirmationAndTheExitPageWorksAgain) {
    Enter();
    OpenScroll();
    Click(EXIT_ROW);
    Click(QUIT_TO_MENU);
    Hover(NO);
    EXPECT_EQ(PictureOf("noButton"), "NoButton.png");
    EXPECT_EQ(PictureOf("yesButton"), "YesButtonPressed.png");
    Click(NO);
    EXPECT_FALSE(battle->quitConfirmOpen);
    EXPECT_FALSE(battle->returnToMenuChosen);
    EXPECT_EQ(CountObjects("quitMessage"), 0);
    EXPECT_EQ(currentState, GS_LEVEL1);
    Click(EXIT_BACK);
    EXPECT_FALSE(battle->exitMenuOpen);
    RunFrames(1);
    EXPECT_EQ(CountObjects("ScrollBlank"), 0);
    EXPECT_EQ(CountObjects("CursorSettings"), 0);
    EXPECT_TRUE(BattleState::paused);
}

TEST_F(PauseTest, RestartThenNoChangesNothing) {
    Enter();
    Click(KNIGHT_UPGRADER);
    ASSERT_EQ(BattleState::knightTier, 1);
    OpenScroll();
    int32_t money = BattleState::money;
    int objects = ObjectCount();
    Click(RESTART);
    ASSERT_TRUE(battle->restartChosen);
    ASSERT_TRUE(battle->quitConfirmOpen);
    Click(NO);
    EXPECT_FALSE(battle->restartChosen);
    EXPECT_FALSE(battle->quitConfirmOpen);
    RunFrames(1);
    EXPECT_EQ(ObjectCount(), objects);
    EXPECT_EQ(BattleState::money, money);
    EXPECT_EQ(BattleState::knightTier, 1);
    // Back at the open scroll: its rows work.
    Click(CONTINUE_ROW);
    EXPECT_FALSE(BattleState::paused);
}

TEST_F(PauseTest, RestartThenYesStartsLevel1Over) {
    Enter();
    Click(KNIGHT_UPGRADER);
    Click(KNIGHT_UP);
    ASSERT_EQ(BattleState::knightTier, 1);
    OpenScroll();
    Click(RESTART);
    Click(YES);
    EXPECT_EQ(currentState, GS_LEVEL1);
    EXPECT_EQ(BattleState::money, 150);
    EXPECT_EQ(BattleState::knightTier, 0);
    EXPECT_FALSE(BattleState::paused);
    EXPECT_EQ(battle->pauseScrollOpen, 0);
    EXPECT_FALSE(battle->restartChosen);
    EXPECT_FALSE(battle->quitConfirmOpen);
    EXPECT_EQ(CountObjects("PauseMenu"), 0);
    EXPECT_EQ(CountObjects("AllieUp"), 0);
    EXPECT_EQ(house, HOUSE_NOBLEMEN);
    EXPECT_EQ(volume, 50);
    // A new pause works in the restarted level.
    RunFramesUntil(IntroGone, 200);
    OpenScroll();
    Click(SETTINGS_ROW);
    EXPECT_TRUE(battle->settingsPageOpen);
}

TEST_F(PauseTest, RestartingLevel2KeepsTheTiers) {
    Enter(GS_LEVEL2);
    BattleState::spearmanTier = 2;
    BattleState::spearmanUpgradePrice = 340;
    OpenScroll();
    Click(RESTART);
    Click(YES);
    EXPECT_EQ(currentState, GS_LEVEL2);
    EXPECT_EQ(BattleState::money, 150);
    EXPECT_EQ(BattleState::spearmanTier, 2);
    EXPECT_EQ(BattleState::spearmanUpgradePrice, 340);
}

// ---------------------------------------------------------------------------
// How-to-play page and credits roll
// ---------------------------------------------------------------------------

TEST_F(PauseTest, HowToPlayPageHidesTheHudUntilBack) {
    Enter();
    OpenScroll();
    EXPECT_FALSE(RecordPrintedTexts().empty());
    Click(HOW_TO_PLAY);
    ASSERT_TRUE(battle->howToPlayPageShown);
    EXPECT_EQ(CountObjects("HTPCompact"), 1);
    EXPECT_TRUE(RecordPrintedTexts().empty());
    SaveShot("pause_how_to_play");
    Hover(HTP_BACK);
    EXPECT_EQ(PictureOf("backButton"), "BackToPausePressed.png");
    Click(HTP_BACK);
    EXPECT_FALSE(battle->howToPlayPageShown);
    EXPECT_EQ(CountObjects("HTPCompact"), 0);
    EXPECT_EQ(CountObjects("CursorHTP"), 0);
    EXPECT_FALSE(RecordPrintedTexts().empty());
}

bool CreditsOver() {
    return !battle->creditsShown;
}

TEST_F(PauseTest, CreditsRollLasts2800FramesInA720HighWindow) {
    Enter();
    OpenScroll();
    MoveCursorToDesign(CREDITS.x, CREDITS.y);
    MouseDown();
    RunFrames(1); // the click frame rolls once already
    MouseUp();
    ASSERT_TRUE(battle->creditsShown);
    EXPECT_EQ(CountObjects("Logos"), 2);
    EXPECT_EQ(CountObjects("Logo"), 2);
    EXPECT_EQ(CountObjects("BG"), 2); // the field's and the credits'
    GameObject* backdrop = FindObject("Logo");
    EXPECT_EQ(backdrop->useTint, 1);
    EXPECT_EQ(backdrop->tintColor, 0xFF000000u);
    EXPECT_TRUE(RecordPrintedTexts().empty());
    int frames = 2 + RunFramesUntil(CreditsOver, 4000);
    EXPECT_EQ(frames, 2800);
    EXPECT_EQ(CountObjects("Logos"), 0);
    EXPECT_FALSE(RecordPrintedTexts().empty());
}

TEST_F(PauseTest, SpaceEndsTheCreditsRoll) {
    Enter();
    OpenScroll();
    Click(CREDITS);
    ASSERT_TRUE(battle->creditsShown);
    RunFrames(100);
    SaveShot("pause_credits");
    TapKey(VK_SPACE);
    EXPECT_FALSE(battle->creditsShown);
    RunFrames(1);
    EXPECT_EQ(CountObjects("Logos"), 0);
    EXPECT_EQ(CountObjects("Logo"), 0);
    EXPECT_EQ(currentState, GS_LEVEL1);
}

// ---------------------------------------------------------------------------
// Sound sync
// ---------------------------------------------------------------------------

TEST_F(PauseTest, MusicPausesWhilePausedAndResumesOnContinue) {
    Enter();
    ASSERT_NE(battle->musicChannel, nullptr);
    EXPECT_FALSE(battle->musicChannel->paused);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0.5f);
    OpenScroll();
    EXPECT_TRUE(battle->musicChannel->paused);
    Click(CONTINUE_ROW);
    RunFrames(1);
    EXPECT_FALSE(battle->musicChannel->paused);
}

TEST_F(PauseTest, MutedMusicAndAnInactiveWindowSilenceTheMusic) {
    Enter();
    musicMuted = true;
    RunFrames(1);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0);
    for (Channel* channel : battle->effectChannels)
        if (channel) {
            EXPECT_FLOAT_EQ(channel->volume, 0.5f);
        }
    musicMuted = false;
    volume = 80;
    RunFrames(1);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0.8f);
    LoseFocus();
    RunFrames(1);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0);
    for (Channel* channel : battle->effectChannels)
        if (channel) {
            EXPECT_FLOAT_EQ(channel->volume, 0);
        }
    GainFocus();
    RunFrames(1);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0.8f);
}

TEST_F(PauseTest, MutedEffectsSilenceTheEffectsButNotTheMusic) {
    Enter();
    sfxMuted = true;
    RunFrames(1);
    int primed = 0;
    for (Channel* channel : battle->effectChannels)
        if (channel) {
            ++primed;
            EXPECT_FLOAT_EQ(channel->volume, 0);
        }
    EXPECT_EQ(primed, EFFECT_COUNT);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0.5f);
}

TEST_F(PauseTest, Level3RainFollowsTheEffectsSwitchAndPausesWithTheMusic) {
    Enter(GS_LEVEL3);
    ASSERT_NE(battle->ambientChannel, nullptr);
    EXPECT_FLOAT_EQ(battle->ambientChannel->volume, 0.5f);
    sfxMuted = true;
    RunFrames(1);
    EXPECT_FLOAT_EQ(battle->ambientChannel->volume, 0);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0.5f);
    EXPECT_FALSE(battle->ambientChannel->paused);
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(battle->ambientChannel->paused);
    EXPECT_TRUE(battle->musicChannel->paused);
}

} // namespace
