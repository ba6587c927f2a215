// Battle view and HUD: DrawBattle (the object list, then the HUD texts),
// DrawHud with its read-outs (prices, money, cooldowns, crossings, catapult,
// tiers, the settings texts and the exit question) and UpdateHudHover, the
// per-frame hover art of the buy, thief and catapult pictures.
// Depends on the battle record and assets (battle/battle_state.h), the object
// list and draw scale, fonts and the settings values.
#include "battle/hud.h"

#include <cstdio>

#include "app/settings.h"
#include "app/window.h"
#include "battle/battle_state.h"
#include "battle/catapult.h"
#include "battle/economy.h"
#include "engine/graphics/device.h"
#include "engine/graphics/font.h"
#include "objects/game_object.h"
#include "screens/settings_rules.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// Colour of a read-out: a fixed one, or the level's label colour (white on
// level 2's dusk boards, black on the light boards of levels 1 and 3).
enum HudColor { COLOR_BLACK, COLOR_RED, COLOR_WHITE, COLOR_GOLD, COLOR_LABEL };

// Where and how one read-out is printed (layout units).
struct HudRow {
    float x, y, scale;
    HudColor color;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

// The read-outs, indexed by their row number (1 to 20; row 19 is the
// settings page, laid out in kSettingsRows).
static const HudRow kHudRows[21] = {
    {0, 0, 0, COLOR_BLACK},          // (unused)
    {-615, 340, 0.7f, COLOR_LABEL},  // 1 knight label
    {-491, 340, 0.7f, COLOR_LABEL},  // 2 spearman label
    {-363, 340, 0.7f, COLOR_LABEL},  // 3 horseman label
    {-610, -310, 0.8f, COLOR_WHITE}, // 4 thief label
    {-20, 330, 1.0f, COLOR_LABEL},   // 5 money
    {-95, 310, 1.0f, COLOR_RED},     // 6 buy cooldown over
    {-40, 310, 1.0f, COLOR_LABEL},   // 7 buy cooldown
    {385, 230, 0.65f, COLOR_BLACK},  // 8 allied crossings
    {525, 230, 0.65f, COLOR_BLACK},  // 9 enemy crossings
    {-230, 340, 0.65f, COLOR_LABEL}, // 10 catapult price
    {-60, 290, 0.7f, COLOR_LABEL},   // 11 catapult cooldown
    {-60, 290, 0.7f, COLOR_RED},     // 12 catapult ready
    {-625, 195, 0.7f, COLOR_BLACK},  // 13 knight tier
    {-490, 195, 0.7f, COLOR_BLACK},  // 14 spearman tier
    {-360, 195, 0.7f, COLOR_BLACK},  // 15 horseman tier
    {-625, 215, 0.6f, COLOR_BLACK},  // 16 knight upgrade price
    {-490, 215, 0.6f, COLOR_BLACK},  // 17 spearman upgrade price
    {-360, 215, 0.6f, COLOR_BLACK},  // 18 horseman upgrade price
    {0, 0, 0, COLOR_BLACK},          // 19 settings texts (below)
    {-200, 200, 1.5f, COLOR_GOLD},   // 20 exit question
};

// The settings page's eight texts, in printing order.
enum { SETTINGS_TEXT_COUNT = 8 };
static const HudRow kSettingsRows[SETTINGS_TEXT_COUNT] = {
    {-105, 220, 1.5f, COLOR_GOLD},  // "RESOLUTION"
    {-86, 180, 1.5f, COLOR_BLACK},  // the display-mode row
    {-100, 120, 1.5f, COLOR_GOLD},  // "FULLSCREEN"
    {-73, 81, 1.2f, COLOR_BLACK},   // " ENABLED" / " DISABLED"
    {-68, 15, 1.5f, COLOR_GOLD},    // "VOLUME"
    {-20, -18, 1.2f, COLOR_BLACK},  // the volume
    {-52, -80, 1.5f, COLOR_GOLD},   // "MUSIC"
    {-25, -115, 1.2f, COLOR_BLACK}, // "ON" / "OFF"
};

// Large enough for any formatted read-out (an int32 or a float's "%.f" never
// needs more), so every number prints whole.
enum { HUD_TEXT_SIZE = 96 };

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// The colour a row prints in for the level being played.
static uint32_t ColorOf(HudColor color) {
    switch (color) {
    case COLOR_RED:
        return HUD_RED;
    case COLOR_WHITE:
        return HUD_WHITE;
    case COLOR_GOLD:
        return HUD_GOLD;
    case COLOR_LABEL:
        return battle->level ? battle->level->hudLabelColor : HUD_BLACK;
    default:
        return HUD_BLACK;
    }
}

// Prints a text at a row's place, scale and colour.
static void PrintRow(const HudRow& row, const char* text) {
    PrintHudText(text, row.x, row.y, row.scale, ColorOf(row.color));
}

// Upgrade price the HUD shows for a type: Wisemen see the discounted price.
static int32_t ShownUpgradePrice(TroopType type) {
    int32_t price = UpgradePriceOf(type);
    return house == HOUSE_WISEMEN ? price - battle->upgradeDiscount : price;
}

// Row 19: the settings page's labels and values.
static void DrawSettingsTexts() {
    char text[HUD_TEXT_SIZE];
    PrintRow(kSettingsRows[0], "RESOLUTION");
    FormatResolutionText(text, sizeof text);
    PrintRow(kSettingsRows[1], text);
    PrintRow(kSettingsRows[2], "FULLSCREEN");
    PrintRow(kSettingsRows[3], isFullscreen ? " ENABLED" : " DISABLED");
    PrintRow(kSettingsRows[4], "VOLUME");
    snprintf(text, sizeof text, "%3d", static_cast<int>(volume));
    PrintRow(kSettingsRows[5], text);
    PrintRow(kSettingsRows[6], "MUSIC");
    PrintRow(kSettingsRows[7], musicMuted ? "OFF" : "ON");
}

// Rows 5 to 7 and 11, 12: money and cooldowns, hidden while paused.
static void DrawRunningReadouts() {
    BattleState& b = *battle;
    char text[HUD_TEXT_SIZE];
    snprintf(b.moneyText, sizeof b.moneyText, "MONEY: %i", static_cast<int>(BattleState::money));
    PrintRow(kHudRows[5], b.moneyText);
    if (b.spawnCooldown <= 0) {
        PrintRow(kHudRows[6], "You can spawn a troop!");
    } else {
        snprintf(text, sizeof text, " Cooldown: %.f", static_cast<double>(b.spawnCooldown));
        PrintRow(kHudRows[7], text);
    }
}

// Rows 11 and 12: the catapult's cooldown or readiness (not while paused).
static void DrawCatapultReadout() {
    const BattleState& b = *battle;
    char text[HUD_TEXT_SIZE];
    if (b.catapultCooldown != 0) {
        snprintf(text, sizeof text, "Catapult cooldown: %.f",
                 static_cast<double>(b.catapultCooldown));
        PrintRow(kHudRows[11], text);
    } else if (b.catapultState != 0) {
        PrintRow(kHudRows[12], "You can Shoot the catapult!");
    }
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Prints a HUD text: translation by the layout point times the draw scale,
// after a uniform scale by k times the draw scale.
void PrintHudText(const char* text, float x, float y, float k, uint32_t color) {
    if (!battle) return;
    Matrix3 translation = Matrix3Translation(x * drawScale, y * drawScale);
    Matrix3 scaling = Matrix3Scale(k * drawScale, k * drawScale);
    Matrix3 model;
    Matrix3Concat(model, translation, scaling);
    SetTransform(model);
    PrintText(text, battle->hudFont, color);
}

// Draw callback of the levels: every live object, then the HUD texts once
// the opening curtain has gone and until the closing one starts.
void DrawBattle() {
    DrawAllObjects();
    if (battle && !battle->hudHidden && battle->introWallGone) DrawHud();
}

// The HUD read-outs in their fixed order.
void DrawHud() {
    if (!battle) return;
    const BattleState& b = *battle;
    if (b.howToPlayPageShown || b.creditsShown) return;
    const bool paused = BattleState::paused;
    char text[HUD_TEXT_SIZE];

    // The price labels come from the prices themselves, so they cannot drift apart.
    static const char* const kBuyLabels[] = {"KNIGHT   %i$", "SPEARMAN   %i$", "HORSEMAN   %i$"};
    for (int type = 0; type < TROOP_TYPES; ++type) {
        snprintf(text, sizeof text, kBuyLabels[type], static_cast<int>(TROOP_PRICE));
        PrintRow(kHudRows[1 + type], text);
    }
    snprintf(text, sizeof text, "THIEF   %i$", static_cast<int>(THIEF_PRICE));
    PrintRow(kHudRows[4], text);
    if (!paused) DrawRunningReadouts();
    snprintf(text, sizeof text, "Allies: %i", static_cast<int>(b.alliedCrossings));
    PrintRow(kHudRows[8], text);
    const char* enemiesFormat =
        b.level && b.level->enemiesFormat ? b.level->enemiesFormat : "Enemies: %i";
    snprintf(text, sizeof text, enemiesFormat, static_cast<int>(b.enemyCrossings));
    PrintRow(kHudRows[9], text);
    if (b.catapultState == 0) {
        snprintf(text, sizeof text, "%i$ to Unlock", static_cast<int>(CATAPULT_PRICE));
        PrintRow(kHudRows[10], text);
    }
    if (!paused) DrawCatapultReadout();
    for (int type = 0; type < TROOP_TYPES; ++type) {
        snprintf(text, sizeof text, "Upgrade: %i / %i",
                 static_cast<int>(TierOf(static_cast<TroopType>(type))) + 1,
                 static_cast<int>(TIER_COUNT));
        PrintRow(kHudRows[13 + type], text);
    }
    for (int type = 0; type < TROOP_TYPES; ++type) {
        snprintf(text, sizeof text, "%i$ TO UPGRADE",
                 static_cast<int>(ShownUpgradePrice(static_cast<TroopType>(type))));
        PrintRow(kHudRows[16 + type], text);
    }
    if (b.settingsPageOpen) DrawSettingsTexts();
    if (b.exitMenuOpen && !b.quitConfirmOpen) PrintRow(kHudRows[20], "DO YOU WANT TO EXIT?");
}

// Buy, thief and catapult pictures show the hover art of the first click
// area under the cursor, or their resting picture.
void UpdateHudHover() {
    if (!battle) return;
    BattleState& b = *battle;
    const BattleAssets& a = battleAssets;
    Texture* const resting[TROOP_TYPES] = {a.buyKnight1, a.buySpearman1, a.buyHorseman1};
    Texture* const upArt[TROOP_TYPES] = {a.buyKnightUp, a.buySpearmanUp, a.buyHorsemanUp};
    Texture* const downArt[TROOP_TYPES] = {a.buyKnightDown, a.buySpearmanDown, a.buyHorsemanDown};
    Texture* const upgradeArt[TROOP_TYPES] = {a.buyKnightUpgrade, a.buySpearmanUpgrade,
                                              a.buyHorsemanUpgrade};
    for (int type = 0; type < TROOP_TYPES; ++type) {
        GameObject* picture = b.buyPicture[type];
        if (!picture) continue;
        if (b.spawnerUp[type] && IsCursorOver(b.spawnerUp[type]))
            picture->texture = upArt[type];
        else if (b.spawnerDown[type] && IsCursorOver(b.spawnerDown[type]))
            picture->texture = downArt[type];
        else if (b.upgrader[type] && IsCursorOver(b.upgrader[type]))
            picture->texture = upgradeArt[type];
        else
            picture->texture = resting[type];
    }
    if (b.thiefPicture) {
        bool over = b.thiefArea && IsCursorOver(b.thiefArea);
        b.thiefPicture->texture = over ? a.thiefButtonClicked : a.buyThief;
    }
    if (b.cannonButtonSprite) {
        bool over = b.cannonButton && IsCursorOver(b.cannonButton);
        b.cannonButtonSprite->texture = over ? a.cannonButtonHover : a.cannonButton;
    }
}
