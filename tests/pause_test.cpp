// The battle's pause menu: Escape and focus loss, the scroll and its rows, the
// settings page, the exit page and the confirmation, restart, the compact
// how-to-play page, the credits roll, and the battle's sounds following it.
#include <algorithm>

#include "battle_helpers.h"

#include "screens/ui.h"

using namespace battle_test;

namespace {

int CountObjects(const char* name) {
    return static_cast<int>(ObjectsNamed(name).size());
}

// Objects of that name are there and each shows a picture (a page's large
// pictures are read when it first opens).
bool ShowPictures(const char* name) {
    const auto objects = ObjectsNamed(name);
    return !objects.empty() && std::all_of(objects.begin(), objects.end(),
                                           [](const GameObject* o) { return o->texture; });
}

class PauseTest : public BattleTest {};

} // namespace

TEST_F(PauseTest, EscapeOrFocusLossPausesAtOnceAndRowsWorkOnceTheScrollHasUnrolled) {
    EnterPlaying(GS_LEVEL1);
    Click(KNIGHT_UP);
    float cooldown = battle->spawnCooldown;
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(BattleState::paused);
    ASSERT_FALSE(ScrollOpened());
    Click(CONTINUE_ROW); // rows do nothing while it unrolls
    EXPECT_TRUE(BattleState::paused);
    Click(SETTINGS_ROW);
    EXPECT_FALSE(battle->settingsPageOpen);
    EXPECT_FLOAT_EQ(battle->spawnCooldown, cooldown); // the battle is frozen
    RunFramesUntil(ScrollOpened, 600);
    EXPECT_TRUE(ShowPictures("ThingyContinue"));
    Click(CONTINUE_ROW);
    EXPECT_FALSE(BattleState::paused);
    EXPECT_EQ(CountObjects("CursorPause"), 0);
    TapKey(VK_ESCAPE); // ignored while the scroll closes, the battle running
    EXPECT_FALSE(BattleState::paused);
    RunFramesUntil([] { return battle->pauseScroll == nullptr; }, 600);
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

TEST_F(PauseTest, SettingsPageVolumeMusicAndEffects) {
    EnterPlaying(GS_LEVEL1);
    OpenPauseScroll();
    int before = ObjectCount();
    ClickDesign(-85, -15); // the row's end lies under the volume arrow of the page it opens
    ASSERT_TRUE(battle->settingsPageOpen);
    EXPECT_TRUE(ShowPictures("SettingsMenu"));
    EXPECT_EQ(volume, 50);
    for (int expected : {40, 30, 20, 10, 0, 0}) {
        Click(PAUSE_VOLUME_LEFT);
        EXPECT_EQ(volume, expected);
    }
    for (int i = 0; i < 11; i++)
        Click(PAUSE_VOLUME_RIGHT);
    EXPECT_EQ(volume, 100);
    for (bool muted : {true, false}) {
        Click(PAUSE_MUSIC_LEFT);
        EXPECT_EQ(musicMuted, muted);
    }
    Click(PAUSE_EFFECTS);
    EXPECT_TRUE(sfxMuted);
    // Back closes the page and its objects; the scroll works again.
    Click(PAUSE_SETTINGS_BACK);
    EXPECT_FALSE(battle->settingsPageOpen);
    RunFrames(1);
    EXPECT_EQ(ObjectCount(), before);
    Click(SETTINGS_ROW);
    EXPECT_TRUE(battle->settingsPageOpen);
}

TEST_F(PauseTest, RestartThroughTheConfirmation) {
    EnterPlaying(GS_LEVEL1);
    Click(KNIGHT_UPGRADE);
    Click(KNIGHT_UP);
    ASSERT_EQ(BattleState::knightTier, 1);
    OpenPauseScroll();
    int32_t money = BattleState::money;
    Click(RESTART);
    ASSERT_TRUE(battle->quitConfirmOpen);
    Click(PAUSE_NO); // changes nothing
    EXPECT_EQ(BattleState::money, money);
    EXPECT_EQ(BattleState::knightTier, 1);
    EXPECT_EQ(CountObjects("AllieUp"), 1);
    Click(RESTART);
    Click(PAUSE_YES);
    EXPECT_EQ(currentState, GS_LEVEL1);
    EXPECT_EQ(BattleState::money, 150);
    EXPECT_EQ(BattleState::knightTier, 0);
    EXPECT_FALSE(BattleState::paused);
    EXPECT_EQ(CountObjects("PauseMenu") + CountObjects("AllieUp"), 0);
}

TEST_F(PauseTest, HowToPlayPageAndCreditsRollHideTheHud) {
    EnterPlaying(GS_LEVEL1);
    OpenPauseScroll();
    EXPECT_FALSE(RecordPrintedTexts().empty());
    Click(PAUSE_HOW_TO_PLAY);
    ASSERT_TRUE(battle->howToPlayPageShown);
    EXPECT_TRUE(ShowPictures("HTPCompact"));
    EXPECT_TRUE(RecordPrintedTexts().empty());
    Click(PAUSE_HTP_BACK);
    EXPECT_FALSE(battle->howToPlayPageShown);
    EXPECT_FALSE(RecordPrintedTexts().empty());
    // The credits roll 2800 frames in a 720-high window, or end with Space.
    MoveCursorToDesign(PAUSE_CREDITS.x, PAUSE_CREDITS.y);
    MouseDown();
    RunFrames(1); // the click frame rolls once already
    MouseUp();
    ASSERT_TRUE(battle->creditsShown);
    EXPECT_TRUE(ShowPictures("Logos"));
    EXPECT_TRUE(RecordPrintedTexts().empty());
    int frames = 2 + RunFramesUntil([] { return !battle->creditsShown; }, 4000);
    EXPECT_EQ(frames, 2800);
    EXPECT_EQ(CountObjects("Logos"), 0);
    EXPECT_FALSE(RecordPrintedTexts().empty());
    Click(PAUSE_CREDITS);
    RunFrames(100);
    TapKey(VK_SPACE);
    EXPECT_FALSE(battle->creditsShown);
    RunFrames(1);
    EXPECT_EQ(CountObjects("Logos") + CountObjects("Logo"), 0);
    EXPECT_EQ(currentState, GS_LEVEL1);
}

// Music pauses with the battle; the settings and the window set every volume;
// level 3's rain follows the effects switch.
TEST_F(PauseTest, BattleSoundsFollowThePauseTheSwitchesAndTheWindow) {
    EnterPlaying(GS_LEVEL3);
    Channel* music = battle->musicChannel;
    Channel* rain = battle->ambientChannel;
    ASSERT_TRUE(music && rain);
    EXPECT_FLOAT_EQ(music->volume, 0.5f);
    EXPECT_FLOAT_EQ(rain->volume, 0.5f);
    auto effectVolumes = [](float expected) {
        for (Channel* channel : battle->effectChannels) {
            ASSERT_TRUE(channel);
            EXPECT_FLOAT_EQ(channel->volume, expected);
        }
    };
    OpenPauseScroll();
    EXPECT_TRUE(music->paused && rain->paused);
    Click(SETTINGS_ROW);
    Click(PAUSE_MUSIC_LEFT);
    Click(PAUSE_VOLUME_RIGHT);
    Click(PAUSE_SETTINGS_BACK);
    Click(CONTINUE_ROW);
    RunFrames(1);
    EXPECT_FALSE(music->paused || rain->paused);
    EXPECT_FLOAT_EQ(music->volume, 0);
    EXPECT_FLOAT_EQ(rain->volume, 0.6f);
    effectVolumes(0.6f);
    RunFramesUntil([] { return battle->pauseScroll == nullptr; }, 600);
    OpenPauseScroll();
    Click(SETTINGS_ROW);
    Click(PAUSE_MUSIC_LEFT);
    Click(PAUSE_EFFECTS);
    Click(PAUSE_SETTINGS_BACK);
    Click(CONTINUE_ROW);
    RunFrames(1);
    EXPECT_FLOAT_EQ(music->volume, 0.6f);
    EXPECT_FLOAT_EQ(rain->volume, 0);
    effectVolumes(0);
    LoseFocus();
    RunFrames(1);
    EXPECT_FLOAT_EQ(music->volume, 0);
}
