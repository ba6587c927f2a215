// The battle's pause menu: Escape and focus loss, the scroll and its rows, the
// settings page, the exit page and the confirmation, restart, the compact
// how-to-play page, the credits roll, and the sound sync.
#include "battle_helpers.h"

#include "screens/ui.h"

using namespace battle_test;

namespace {

// The settings page.

int CountObjects(const char* name) {
    return static_cast<int>(ObjectsNamed(name).size());
}

bool ScrollOpened() {
    return battle->pauseScroll && battle->pauseScroll->ended;
}

class PauseTest : public BattleTest {
  protected:
    // Pauses with Escape and waits for the scroll to unroll.
    void OpenScroll() {
        TapKey(VK_ESCAPE);
        ASSERT_TRUE(BattleState::paused);
        RunFramesUntil(ScrollOpened, 600);
        ASSERT_TRUE(ScrollOpened());
    }
};

} // namespace

TEST_F(PauseTest, EscapeOrFocusLossPausesAtOnceAndRowsWorkOnceTheScrollHasUnrolled) {
    EnterPlaying(GS_LEVEL1);
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
    RunFrames(1);
    ASSERT_FALSE(ScrollOpened());
    EXPECT_EQ(FindObject("RestartButton")->visible, 0); // hidden while it unrolls
    Click(CONTINUE_ROW);
    EXPECT_TRUE(BattleState::paused);
    Click(SETTINGS_ROW);
    EXPECT_FALSE(battle->settingsPageOpen);
    EXPECT_FLOAT_EQ(battle->spawnCooldown, cooldown); // the battle is frozen
    EXPECT_EQ(static_cast<Sprite*>(battle->background)->playing, 0);
    RunFramesUntil(ScrollOpened, 600);
    SaveShot("pause_scroll");
    Click(CONTINUE_ROW);
    EXPECT_FALSE(BattleState::paused);
    EXPECT_EQ(CountObjects("RestartButton") + CountObjects("ThingyContinue"), 0);
    EXPECT_EQ(CountObjects("CursorPause"), 0);
    // The battle runs while the scroll plays its closing animation.
    ASSERT_NE(battle->pauseScroll, nullptr);
    EXPECT_EQ(battle->pauseScroll->animation, battleAssets.scrollCloseAnim);
    EXPECT_EQ(static_cast<Sprite*>(battle->background)->playing, 1);
    TapKey(VK_ESCAPE); // ignored while it closes
    EXPECT_FALSE(BattleState::paused);
    RunFramesUntil([] { return battle->pauseScroll == nullptr; }, 600);
    EXPECT_EQ(battle->pauseScrollOpen, 0);
    EXPECT_EQ(CountObjects("PauseMenu"), 0);
    // Once it is gone, losing the focus pauses, and coming back leaves it paused.
    LoseFocus();
    RunFrames(1);
    EXPECT_TRUE(BattleState::paused);
    GainFocus();
    RunFrames(5);
    EXPECT_TRUE(BattleState::paused);
    EXPECT_EQ(CountObjects("PauseMenu"), 1);
}

TEST_F(PauseTest, RowMarksAndButtonsFollowTheCursor) {
    EnterPlaying(GS_LEVEL1);
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
    Hover(PAUSE_CREDITS);
    EXPECT_EQ(PictureOf("CreditsButton"), "PauseCreditsButtonPressed.png");
    Hover(PAUSE_HOW_TO_PLAY);
    EXPECT_EQ(PictureOf("HTPButton"), "HowToPlayPauseButtonPressed.png");
    EXPECT_EQ(PictureOf("RestartButton"), "PauseRestartButton.png");
    EXPECT_EQ(FindObject("HTPButton")->visible, 1);
}

TEST_F(PauseTest, SettingsPageArrowsAndSwitches) {
    EnterPlaying(GS_LEVEL1);
    OpenScroll();
    int before = ObjectCount();
    ClickDesign(-85, -15); // the row's end lies under the volume arrow of the page it opens
    ASSERT_TRUE(battle->settingsPageOpen);
    EXPECT_EQ(volume, 50);
    EXPECT_EQ(ObjectCount(), before + 12);
    EXPECT_EQ(CountObjects("CursorSettings"), 1);
    for (int expected : {40, 30, 20, 10, 0, 0}) {
        Click(PAUSE_VOLUME_LEFT);
        EXPECT_EQ(volume, expected);
    }
    volume = 90;
    for (int i = 0; i < 2; i++) {
        Click(PAUSE_VOLUME_RIGHT);
        EXPECT_EQ(volume, 100);
    }
    volume = 5;
    Click(PAUSE_VOLUME_LEFT);
    EXPECT_EQ(volume, 0);
    Hover(PAUSE_VOLUME_RIGHT); // the hovered arrow is red
    GameObject* hovered = FindObject("VolumeArrowRight");
    GameObject* other = FindObject("VolumeArrowLeft");
    EXPECT_EQ(hovered->useTint, 1);
    EXPECT_EQ(hovered->tintColor, 0xFFFF0000u);
    EXPECT_EQ(other->useTint, 0);
    EXPECT_EQ(PictureOf(hovered), "Arrow.png");
    EXPECT_EQ(PictureOf(other), "ArrowRight.png");
    // The music arrows and the effects button flip their switches.
    for (bool muted : {true, false}) {
        Click(PAUSE_MUSIC_LEFT);
        EXPECT_EQ(musicMuted, muted);
    }
    EXPECT_EQ(hovered->useTint, 0);
    Hover(FIELD);
    EXPECT_EQ(PictureOf("SFXButtonPause"), "SFXButtonPauseActive.png");
    Hover(PAUSE_EFFECTS);
    EXPECT_EQ(PictureOf("SFXButtonPause"), "SFXButtonPauseActivePressed.png");
    Click(PAUSE_EFFECTS);
    EXPECT_TRUE(sfxMuted);
    EXPECT_EQ(PictureOf("SFXButtonPause"), "SFXButtonPauseInactivePressed.png");
    Hover(FIELD);
    EXPECT_EQ(PictureOf("SFXButtonPause"), "SFXButtonPauseInactive.png");
    // Back closes the page and its twelve objects; the scroll works again.
    Hover(PAUSE_SETTINGS_BACK);
    EXPECT_EQ(PictureOf("backButton"), "BackToPausePressed.png");
    Click(PAUSE_SETTINGS_BACK);
    EXPECT_FALSE(battle->settingsPageOpen);
    RunFrames(1);
    EXPECT_EQ(ObjectCount(), before);
    Click(SETTINGS_ROW);
    EXPECT_TRUE(battle->settingsPageOpen);
}

TEST_F(PauseTest, ResolutionArrowsWrapAndFullScreenShowsRowZero) {
    EnterPlaying(GS_LEVEL1);
    OpenScroll();
    Click(SETTINGS_ROW);
    Click(PAUSE_RESOLUTION_LEFT);
    EXPECT_EQ(resolutionIndex, 4);
    RunFrames(1);
    EXPECT_EQ(windowWidth, 960);
    EXPECT_EQ(windowHeight, 540);
    Click(PAUSE_RESOLUTION_RIGHT); // clicks keep landing on the arrows at the new size
    EXPECT_EQ(resolutionIndex, 0);
    EXPECT_EQ(windowWidth, 1920);
    EXPECT_EQ(windowHeight, 1080);
    Click(PAUSE_RESOLUTION_RIGHT);
    EXPECT_EQ(resolutionIndex, 1);
    EXPECT_EQ(windowWidth, 1336);
    EXPECT_EQ(windowHeight, 768);
    Click(PAUSE_RESOLUTION_LEFT);
    Click(PAUSE_RESOLUTION_LEFT); // 960 x 540, row 4
    ASSERT_EQ(resolutionIndex, 4);
    Click(PAUSE_FULLSCREEN_RIGHT);
    EXPECT_TRUE(isFullscreen);
    EXPECT_EQ(resolutionIndex, 0);
    RunFrames(1);
    Click(PAUSE_FULLSCREEN_LEFT);
    EXPECT_FALSE(isFullscreen);
    EXPECT_EQ(resolutionIndex, 0);
    EXPECT_EQ(windowWidth, 960);
    EXPECT_EQ(windowHeight, 540);
}

TEST_F(PauseTest, ExitPageConfirmationNoAndBack) {
    EnterPlaying(GS_LEVEL1);
    OpenScroll();
    ClickDesign(0, -85); // the row's lower half lies under the page's back button
    ASSERT_TRUE(battle->exitMenuOpen);
    EXPECT_EQ(CountObjects("QuitToMenuButton"), 1);
    Hover(QUIT_TO_MENU);
    EXPECT_EQ(PictureOf("QuitToMenuButton"), "ReturnToMainMenuButtonPressed.png");
    EXPECT_EQ(PictureOf("ExitGameButton"), "ExitGameButton.png");
    Click(QUIT_TO_MENU);
    ASSERT_TRUE(battle->quitConfirmOpen);
    EXPECT_TRUE(battle->returnToMenuChosen);
    EXPECT_EQ(CountObjects("yesButton"), 1);
    Hover(PAUSE_NO);
    EXPECT_EQ(PictureOf("noButton"), "NoButton.png");
    EXPECT_EQ(PictureOf("yesButton"), "YesButtonPressed.png");
    SaveShot("pause_confirmation");
    Click(PAUSE_NO);
    EXPECT_FALSE(battle->quitConfirmOpen);
    EXPECT_FALSE(battle->returnToMenuChosen);
    EXPECT_EQ(CountObjects("quitMessage"), 0);
    EXPECT_EQ(currentState, GS_LEVEL1);
    Click(EXIT_BACK);
    EXPECT_FALSE(battle->exitMenuOpen);
    RunFrames(1);
    EXPECT_EQ(CountObjects("ScrollBlank") + CountObjects("CursorSettings"), 0);
    EXPECT_TRUE(BattleState::paused);
}

TEST_F(PauseTest, ExitPageYesGoesToTheMenuOrEndsTheProgram) {
    for (Point button : {QUIT_TO_MENU, EXIT_GAME}) {
        EnterPlaying(GS_LEVEL1);
        OpenScroll();
        Click(EXIT_ROW);
        Click(button);
        ASSERT_TRUE(battle->quitConfirmOpen);
        EXPECT_EQ(battle->returnToMenuChosen, button.x == QUIT_TO_MENU.x);
        Click(PAUSE_YES);
        if (button.x == QUIT_TO_MENU.x)
            EXPECT_EQ(currentState, GS_MAIN_MENU);
        else
            EXPECT_TRUE(GameHasQuit());
        LeaveGame();
    }
}

TEST_F(PauseTest, RestartThroughTheConfirmation) {
    EnterPlaying(GS_LEVEL1);
    Click(KNIGHT_UPGRADE);
    Click(KNIGHT_UP);
    ASSERT_EQ(BattleState::knightTier, 1);
    OpenScroll();
    int32_t money = BattleState::money;
    int objects = ObjectCount();
    Click(RESTART);
    ASSERT_TRUE(battle->restartChosen && battle->quitConfirmOpen);
    Click(PAUSE_NO); // changes nothing
    EXPECT_FALSE(battle->restartChosen || battle->quitConfirmOpen);
    RunFrames(1);
    EXPECT_EQ(ObjectCount(), objects);
    EXPECT_EQ(BattleState::money, money);
    EXPECT_EQ(BattleState::knightTier, 1);
    Click(RESTART);
    Click(PAUSE_YES);
    EXPECT_EQ(currentState, GS_LEVEL1);
    EXPECT_EQ(BattleState::money, 150);
    EXPECT_EQ(BattleState::knightTier, 0);
    EXPECT_FALSE(BattleState::paused);
    EXPECT_EQ(battle->pauseScrollOpen, 0);
    EXPECT_FALSE(battle->restartChosen || battle->quitConfirmOpen);
    EXPECT_EQ(CountObjects("PauseMenu") + CountObjects("AllieUp"), 0);
    EXPECT_EQ(house, HOUSE_NOBLEMEN);
    EXPECT_EQ(volume, 50);
    // A new pause works in the restarted level.
    RunFramesUntil([] { return battle->introWallGone; }, 200);
    OpenScroll();
    Click(SETTINGS_ROW);
    EXPECT_TRUE(battle->settingsPageOpen);
}

TEST_F(PauseTest, HowToPlayPageHidesTheHudUntilBack) {
    EnterPlaying(GS_LEVEL1);
    OpenScroll();
    EXPECT_FALSE(RecordPrintedTexts().empty());
    Click(PAUSE_HOW_TO_PLAY);
    ASSERT_TRUE(battle->howToPlayPageShown);
    EXPECT_EQ(CountObjects("HTPCompact"), 1);
    EXPECT_TRUE(RecordPrintedTexts().empty());
    SaveShot("pause_how_to_play");
    Hover(PAUSE_HTP_BACK);
    EXPECT_EQ(PictureOf("backButton"), "BackToPausePressed.png");
    Click(PAUSE_HTP_BACK);
    EXPECT_FALSE(battle->howToPlayPageShown);
    EXPECT_EQ(CountObjects("HTPCompact") + CountObjects("CursorHTP"), 0);
    EXPECT_FALSE(RecordPrintedTexts().empty());
}

TEST_F(PauseTest, CreditsRollLasts2800FramesInA720HighWindowOrEndsWithSpace) {
    EnterPlaying(GS_LEVEL1);
    OpenScroll();
    MoveCursorToDesign(PAUSE_CREDITS.x, PAUSE_CREDITS.y);
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
    int frames = 2 + RunFrames(100);
    SaveShot("pause_credits");
    frames += 1 + RunFramesUntil([] { return !battle->creditsShown; }, 4000);
    EXPECT_EQ(frames, 2800);
    EXPECT_EQ(CountObjects("Logos"), 0);
    EXPECT_FALSE(RecordPrintedTexts().empty());
    Click(PAUSE_CREDITS);
    ASSERT_TRUE(battle->creditsShown);
    RunFrames(100);
    TapKey(VK_SPACE);
    EXPECT_FALSE(battle->creditsShown);
    RunFrames(1);
    EXPECT_EQ(CountObjects("Logos") + CountObjects("Logo"), 0);
    EXPECT_EQ(currentState, GS_LEVEL1);
}

TEST_F(PauseTest, SyncBattleSoundFollowsPauseMutesAndTheWindow) {
    EnterPlaying(GS_LEVEL1);
    ASSERT_NE(battle->musicChannel, nullptr);
    EXPECT_FALSE(battle->musicChannel->paused);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0.5f);
    OpenScroll();
    EXPECT_TRUE(battle->musicChannel->paused);
    Click(CONTINUE_ROW);
    RunFrames(1);
    EXPECT_FALSE(battle->musicChannel->paused);
    auto effectVolumes = [](float expected) {
        int primed = 0;
        for (Channel* channel : battle->effectChannels)
            if (channel) {
                ++primed;
                EXPECT_FLOAT_EQ(channel->volume, expected);
            }
        EXPECT_EQ(primed, EFFECT_COUNT);
    };
    musicMuted = true;
    RunFrames(1);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0);
    effectVolumes(0.5f);
    musicMuted = false;
    volume = 80;
    RunFrames(1);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0.8f);
    LoseFocus();
    RunFrames(1);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0);
    effectVolumes(0);
    GainFocus();
    RunFrames(1);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0.8f);
    sfxMuted = true;
    RunFrames(1);
    effectVolumes(0);
    EXPECT_FLOAT_EQ(battle->musicChannel->volume, 0.8f);
}

TEST_F(PauseTest, Level3RainFollowsTheEffectsSwitchAndPausesWithTheMusic) {
    EnterPlaying(GS_LEVEL3);
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
