// The battle record's storage: the three levels' tables and records, the
// shared asset handles, the effect rule and the upgrade price helpers.
// Depends on the sound system and the settings values.
#include "battle/battle_state.h"

#include <cstdlib>

#include "app/game_state.h"
#include "app/settings.h"
#include "battle/hud.h"
#include "engine/audio/sound.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

const LevelTable levelTables[LEVEL_COUNT] = {
    {GS_LEVEL1,
     1,
     "data\\TheTrueStoryOfBeelzebub.mp3",
     nullptr,
     "data\\Animation\\BackgroundLevelAnim",
     "data\\CoinSound.wav",
     0,
     1,
     true,
     true,
     20,
     7,
     20,
     {HOUSE_WISEMEN, HOUSE_WARRIORS, HOUSE_NOBLEMEN, HOUSE_WORKERS},
     HUD_BLACK,
     "Enemies: %i"},
    {GS_LEVEL2,
     2,
     "data\\The Grace of a Kingdom.mp3",
     nullptr,
     "data\\Animation\\BackgroundSecondLvAnim",
     "data\\CoinSound.wav",
     2,
     3,
     false,
     false,
     30,
     6,
     16,
     {HOUSE_WARRIORS, HOUSE_WISEMEN, HOUSE_WORKERS, HOUSE_NOBLEMEN},
     HUD_WHITE,
     "Enemies:  %i"},
    {GS_LEVEL3,
     3,
     "data\\FinalLevel.mp3",
     "data\\Rain.wav",
     "data\\Animation\\BackgroundThirdLvAnim",
     "data\\CoinSound.wav",
     4,
     5,
     false,
     false,
     45,
     5,
     12,
     {HOUSE_WORKERS, HOUSE_NOBLEMEN, HOUSE_WARRIORS, HOUSE_WISEMEN},
     HUD_BLACK,
     "Enemies: %i"},
};

// A level's record at program start: the commander's first intervals are
// drawn here, before anything seeds the random generator.
static BattleState MakeLevelState(int index) {
    BattleState state;
    state.level = &levelTables[index];
    state.downWaveInterval = static_cast<float>(rand() % 4 + 1);
    state.upWaveInterval = static_cast<float>(rand() % 4 + 1);
    state.downFollowUpChance = levelTables[index].followUpChance;
    state.upFollowUpChance = levelTables[index].followUpChance;
    state.baseFollowUpChance = levelTables[index].followUpChance;
    return state;
}

BattleState levelStates[LEVEL_COUNT] = {MakeLevelState(0), MakeLevelState(1), MakeLevelState(2)};
BattleState* battle = &levelStates[0];
BattleAssets battleAssets = {};
unsigned battleSeedOverride = 0;

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Clears the win and lose flags.
void ClearBattleEndFlags() {
    BattleState::battleLost = false;
    BattleState::battleWon = false;
}

// The battle music's level: silent when muted or in the background.
float BattleMusicLevel() {
    return AudibleLevel(!musicMuted);
}

// The level of the battle's effects and the rain: silent when effects are
// muted or in the background.
float BattleEffectLevel() {
    return AudibleLevel(!sfxMuted);
}

// Effect rule: resume the primed channel while it is still paused, then play
// the effect anew unless everything is muted or the volume is 0.
void PlayBattleEffect(BattleEffect effect) {
    if (effect < 0 || effect >= EFFECT_COUNT) return;
    Channel*& current = battle->effectChannels[effect];
    if (current && current->paused) ResumeChannel(current);
    if (soundMuted || volume == 0) return;
    Channel* fresh = PlaySound(battleAssets.effects[effect], false, BattleEffectLevel());
    if (fresh) current = fresh;
}

// Tier index of a type.
int32_t& TierOf(TroopType type) {
    if (type == TROOP_SPEARMAN) return BattleState::spearmanTier;
    if (type == TROOP_HORSEMAN) return BattleState::horsemanTier;
    return BattleState::knightTier;
}

// Upgrade price of a type before the discount.
int32_t& UpgradePriceOf(TroopType type) {
    if (type == TROOP_SPEARMAN) return BattleState::spearmanUpgradePrice;
    if (type == TROOP_HORSEMAN) return BattleState::horsemanUpgradePrice;
    return BattleState::knightUpgradePrice;
}

// Price charged (and shown) for the next upgrade of a type.
int32_t UpgradePriceAfterDiscount(TroopType type) {
    return UpgradePriceOf(type) - battle->upgradeDiscount;
}
