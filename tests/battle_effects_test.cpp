// The battle's effects at their moments, played as a player: a sword clash
// when a fight starts, a thud when a troop strikes a castle, the catapult's
// throw and the rock's impact, a click on the pause scroll's buttons; once
// effects are muted on the settings page the same moments start none.
#include "battle_helpers.h"

#include <algorithm>

#include "battle/battle_cues.h"
#include "engine/platform/platform.h"
#include "screens/ui.h"

using namespace battle_test;

namespace {

float playerCastleHealth = 0;

bool FightCloudShown() {
    return !ObjectsNamed("DustDown").empty() || !ObjectsNamed("DustUp").empty();
}
bool PlayerCastleStruck() {
    GameObject* castle = CastleNamed("AllieDown");
    return castle && castle->health < playerCastleHealth;
}
bool RockLanded() {
    return ObjectsNamed("Rock").empty();
}

class BattleEffectsTest : public BattleTest {
  protected:
    // Runs `act`, then checks the cue started one instance that sounds now,
    // or none when effects are muted.
    template <typename Act> void ExpectCue(const EffectCue& cue, const char* moment, Act act) {
        int before = cue.started;
        act();
        if (sfxMuted) {
            EXPECT_EQ(cue.started, before) << moment << " sounded while effects were muted";
            return;
        }
        EXPECT_EQ(cue.started, before + 1) << moment;
        EXPECT_TRUE(IsChannelPlaying(cue.newest)) << moment;
    }
    void ExpectBattleCue(BattleCue cue, const char* moment, bool (*happened)(), int limit) {
        ExpectCue(BattleCueRecord(cue), moment, [&] {
            RunFramesUntil(happened, limit);
            ASSERT_TRUE(happened()) << moment << " never came";
        });
    }
};

} // namespace

TEST_F(BattleEffectsTest, FightCastleCatapultAndButtonsSoundUntilEffectsAreMuted) {
    EnterPlaying(GS_LEVEL1); // Noblemen: the income bonus pays for the catapult sooner
    Click(KNIGHT_UP);        // starts the income; its fights are in the up lane
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "effects on" : "effects muted");
        RunFramesUntil([] { return !FightCloudShown(); }, 3000);
        ExpectBattleCue(CUE_CLASH, "a fight starting", FightCloudShown, 3000);
        playerCastleHealth = CastleNamed("AllieDown")->health;
        ExpectBattleCue(CUE_CASTLE_HIT, "an enemy striking the castle", PlayerCastleStruck, 3000);
        if (pass == 0) {
            RunFramesUntil([] { return BattleState::money >= 300; }, 6000);
            Click(CANNON);
        }
        RunFramesUntil([] { return battle->catapultState == 1 && battle->catapultCooldown <= 0; },
                       2000);
        ExpectCue(BattleCueRecord(CUE_CATAPULT_THROW), "the catapult throwing", [] {
            Click(CANNON);
            ASSERT_EQ(ObjectsNamed("Rock").size(), 1u);
        });
        ExpectBattleCue(CUE_ROCK_IMPACT, "the rock landing", RockLanded, 200);
        OpenPauseScroll();
        if (pass == 0) { // the page's pictures are read on its first opening, a long frame
            Click(SETTINGS_ROW);
            Click(PAUSE_SETTINGS_BACK);
        }
        ExpectCue(ClickCueRecord(), "the settings row", [] { Click(SETTINGS_ROW); });
        if (pass == 0) Click(PAUSE_EFFECTS);
        ExpectCue(ClickCueRecord(), "the settings page's back button",
                  [] { Click(PAUSE_SETTINGS_BACK); });
        Click(CONTINUE_ROW);
        ASSERT_FALSE(BattleState::paused);
    }
    EXPECT_TRUE(sfxMuted);
}

// An effect still sounding falls silent with the window, as the music does.
TEST_F(BattleEffectsTest, EffectsSoundingFallSilentWhenTheWindowLosesFocus) {
    EnterPlaying(GS_LEVEL1);
    Click(KNIGHT_UP);
    // A clash on a slot no effect channel still names (the pool hands slots on).
    RunFramesUntil(
        [] {
            Channel* c = BattleCueRecord(CUE_CLASH).newest;
            const auto& effects = battle->effectChannels;
            return IsChannelPlaying(c) &&
                   std::find(effects, effects + EFFECT_COUNT, c) == effects + EFFECT_COUNT;
        },
        6000);
    Channel* clash = BattleCueRecord(CUE_CLASH).newest;
    PauseChannel(clash); // held, so that it sounds on whatever the wall clock does
    ASSERT_TRUE(IsChannelPlaying(clash));
    EXPECT_FLOAT_EQ(PlatformAudioGetVolume(clash->voice), 0.5f);
    LoseFocus();
    RunFrames(1);
    EXPECT_EQ(PlatformAudioGetVolume(clash->voice), 0.0f);
}
