// Economy: the buy step (shared cooldown, troop and thief purchases, the
// income), and the upgrade step. Depends on the battle record, its assets,
// the troop and thief classes, input and the sound system.
#include "battle/economy.h"

#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "battle/battle_objects.h"
#include "engine/audio/sound.h"

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

static const int32_t UPGRADE_PRICE_STEP = 120;
static const int32_t INCOME_CAP = 1000;
static const float BUY_COOLDOWN = 2;
static const float INCOME_PERIOD = 0.5f;
static const BattleEffect SPAWN_EFFECTS[TROOP_TYPES] = {EFFECT_KNIGHT_SPAWN, EFFECT_SPEARMAN_SPAWN,
                                                        EFFECT_HORSE_SPAWN};

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// The purchase's two effects; the primed channels are resumed only when both
// are still paused, then each plays anew unless muted.
static void PlayPurchaseEffects(BattleEffect spawnEffect) {
    Channel*& spend = battle->effectChannels[EFFECT_SPEND_MONEY];
    Channel*& spawn = battle->effectChannels[spawnEffect];
    if (spend && spawn && spend->paused && spawn->paused) {
        ResumeChannel(spend);
        ResumeChannel(spawn);
    }
    if (soundMuted || volume == 0) return;
    const float level = BattleEffectLevel();
    if (Channel* fresh = PlaySound(battleAssets.effects[EFFECT_SPEND_MONEY], false, level))
        spend = fresh;
    if (Channel* fresh = PlaySound(battleAssets.effects[spawnEffect], false, level)) spawn = fresh;
}

// The upgrade sound: the primed channel once, then a new one only after the
// last has finished.
static void PlayUpgradeSound() {
    Channel*& current = battle->effectChannels[EFFECT_UPGRADE];
    if (current && current->paused) {
        ResumeChannel(current);
        return;
    }
    if (soundMuted || (current && IsChannelPlaying(current))) return;
    if (Channel* fresh =
            PlaySound(battleAssets.effects[EFFECT_UPGRADE], false, BattleEffectLevel()))
        current = fresh;
}

// A purchase of the troop type in one lane when its area was clicked.
static void TryBuyTroop(TroopType type, GameObject* area, bool upLane) {
    if (!IsClickedOver(area)) return;
    if (BattleState::money < TROOP_PRICE) {
        PlayBattleEffect(EFFECT_NO_MONEY);
        return;
    }
    SpawnPlayerTroop(type, upLane);
    BattleState::money -= TROOP_PRICE;
    battle->battleStarted = true;
    battle->spawnCooldown = BUY_COOLDOWN;
    PlayPurchaseEffects(SPAWN_EFFECTS[type]);
}

// A thief when its area was clicked, only while none is out.
static void TryBuyThief() {
    if (!IsClickedOver(battle->thiefArea)) return;
    if (BattleState::money < THIEF_PRICE || BattleState::thiefOut) {
        PlayBattleEffect(EFFECT_NO_MONEY);
        return;
    }
    AddObject(new Thief(), "Allie");
    BattleState::money -= THIEF_PRICE;
    BattleState::thiefOut = true;
    battle->battleStarted = true;
    battle->spawnCooldown = BUY_COOLDOWN;
    PlayBattleEffect(EFFECT_THIEF_SPAWN);
}

// Income every half second after the first purchase, up to 1000 money.
static void PayIncome() {
    if (!battle->battleStarted) return;
    battle->incomeTimer += static_cast<float>(frameTime);
    if (battle->incomeTimer < INCOME_PERIOD) return;
    if (BattleState::money <= INCOME_CAP) BattleState::money += 1 + battle->incomeBonus;
    battle->incomeTimer = 0;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// The buy step: cooldown, the no-money click during it, the purchases, income.
void RunBuyStep() {
    BattleState* state = battle;
    state->spawnCooldown -= static_cast<float>(frameTime);
    if (state->spawnCooldown > 0) {
        bool clicked = IsClickedOver(state->thiefArea);
        for (int type = 0; type < TROOP_TYPES; type++)
            clicked = clicked || IsClickedOver(state->spawnerUp[type]) ||
                      IsClickedOver(state->spawnerDown[type]);
        if (clicked) PlayBattleEffect(EFFECT_NO_MONEY);
    } else {
        state->spawnCooldown = 0;
        for (int type = 0; type < TROOP_TYPES; type++) {
            TryBuyTroop(static_cast<TroopType>(type), state->spawnerDown[type], false);
            TryBuyTroop(static_cast<TroopType>(type), state->spawnerUp[type], true);
        }
        TryBuyThief();
    }
    PayIncome();
}

// The upgrade step: a click on an upgrader raises the type's tier when the
// money suffices. At the last tier nothing is upgraded or paid, and the click
// always answers with the no-money sound, whatever the money.
void RunUpgradeStep() {
    BattleState* state = battle;
    if (!IsButtonPressed(MOUSE_LEFT)) return;
    const bool canAffordAny = BattleState::money >= UPGRADE_START_PRICE - state->upgradeDiscount;
    for (int i = 0; i < TROOP_TYPES; i++) {
        TroopType type = static_cast<TroopType>(i);
        if (!IsCursorOver(state->upgrader[type])) continue;
        if (TierOf(type) >= TIER_COUNT - 1) {
            PlayBattleEffect(EFFECT_NO_MONEY);
            continue;
        }
        int32_t price = UpgradePriceAfterDiscount(type);
        if (!canAffordAny || BattleState::money < price) continue;
        PlayUpgradeSound();
        TierOf(type) += 1;
        BattleState::money -= price;
        UpgradePriceOf(type) += UPGRADE_PRICE_STEP;
    }
    if (canAffordAny) RefreshPlayerTroopAnimations();
}

// Tier indices back to 0 and prices back to 100 (level 1's start).
void ResetUpgrades() {
    for (int i = 0; i < TROOP_TYPES; i++) {
        TierOf(static_cast<TroopType>(i)) = 0;
        UpgradePriceOf(static_cast<TroopType>(i)) = UPGRADE_START_PRICE;
    }
}
