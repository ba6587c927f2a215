// The battle record: every counter of a battle (money, tiers and prices,
// cooldowns, house bonuses, lanes and banner, the enemy commander's timetable,
// the end of the battle and the pause menu's flags), the asset handles a
// level loads, and the per-level tables the three levels are built from.
// Read by the HUD (battle/hud.*) and the pause menu (screens/pause_menu.*).
// Depends on the object list, sounds, fonts and textures (handles only).
//
// Sharing between the levels: each level owns one BattleState (levelStates[0..2])
// and `battle` points at the one being played. The values the three levels
// share (money, tiers and prices, the castle and damage bonuses, the pause and
// end flags, the banner, the lanes' fight state) are `static` members, so
// `battle->money` is the same number in every level, while everything else is
// the level's own copy.
#pragma once

#include <cstddef>
#include <cstdint>

struct GameObject;
struct Sprite;
struct Texture;
struct Sound;
struct Channel;
struct Font;
struct Animation;

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

enum TroopType : int32_t {
    TROOP_KNIGHT = 0,
    TROOP_SPEARMAN = 1,
    TROOP_HORSEMAN = 2,
    TROOP_TYPES = 3
};
enum : int32_t { TIER_COUNT = 5, LEVEL_COUNT = 3 };

// The seven primed effects (their current channels are kept in the record).
enum BattleEffect : int32_t {
    EFFECT_UPGRADE = 0,
    EFFECT_NO_MONEY,
    EFFECT_SPEND_MONEY,
    EFFECT_KNIGHT_SPAWN,
    EFFECT_SPEARMAN_SPAWN,
    EFFECT_THIEF_SPAWN,
    EFFECT_HORSE_SPAWN,
    EFFECT_COUNT
};

// What differs between level 1, 2 and 3.
struct LevelTable {
    int32_t stateId;            // GS_LEVEL1, GS_LEVEL2, GS_LEVEL3
    int32_t number;             // 1, 2, 3
    const char* music;          // looping music
    const char* ambient;        // looping ambient sound, or null
    const char* fieldAnimation; // animation of "BG"
    const char* coinSound;      // the level's coin sound
    int32_t enemyTierIndex;     // enemy animation suffix: 0 (none), 2, 4
    int32_t enemyPictureNumber; // enemy picture number: 1, 3, 5
    bool setsEveryBonus;        // level 1 sets all four house bonuses
    bool resetsUpgrades;        // level 1 resets tiers and prices
    int32_t followUpChance;     // commander: start and base follow-up chance (%)
    int32_t waveWaitBase;       // commander: wait = base + rand() % range seconds
    int32_t waveWaitRange;
    uint8_t enemyHouse[4];     // by the player's house
    uint32_t hudLabelColor;    // HUD rows 1, 2, 3, 5, 7, 10, 11
    const char* enemiesFormat; // HUD row 9
};

// Asset handles of a level, loaded by its Load and released by its Unload.
// One set serves every level (each Load refills it); the level's own font and
// music live in its BattleState.
struct BattleAssets {
    // Animations (freed together by FreeAllAnimations).
    Animation* scrollOpenAnim;
    Animation* scrollCloseAnim;
    Animation* thiefAnim;
    Animation* dustAnim;
    Animation* fieldAnim;
    Animation* playerTroopAnims[TROOP_TYPES][TIER_COUNT];
    Animation* enemyTroopAnims[TROOP_TYPES];
    // Field and combat pictures.
    Texture* background;
    Texture* thief;
    Texture* fightCloud;
    Texture* bannerStandard;
    Texture* red;      // "CannonButton" and "ContinueButton"
    Texture* redAreas; // the troop and thief click areas (second copy)
    Texture* blue;
    Texture* green;
    Texture* healthBar;
    Texture* emptyHealthBar;
    Texture* healthBG;
    Texture* bannerPowerUp;
    Texture* coin;
    Texture* coin40;
    Texture* coin50;
    Texture* coin100;
    Texture* coin200;
    Texture* cursor;
    Texture* transitionWall;
    // Buy panel and hover art.
    Texture* buyKnight1;
    Texture* buySpearman1;
    Texture* buyHorseman1;
    Texture* buyThief;
    Texture* buyKnightUp;
    Texture* buyKnightDown;
    Texture* buyKnightUpgrade;
    Texture* buySpearmanUp;
    Texture* buySpearmanDown;
    Texture* buySpearmanUpgrade;
    Texture* buyHorsemanUp;
    Texture* buyHorsemanDown;
    Texture* buyHorsemanUpgrade;
    Texture* thiefButtonClicked;
    // Catapult.
    Texture* cannonButton;
    Texture* cannonButtonHover;
    Texture* lock;
    Texture* catapult;
    Texture* rock;
    // Pause menu, settings, exit page, confirmation, credits.
    Texture* scrollPlain;
    Texture* scrollContinue;
    Texture* scrollSettings;
    Texture* scrollAnimation0;
    Texture* scrollContinueThingy;
    Texture* scrollBlank;
    Texture* settings;
    Texture* arrow;
    Texture* arrowRight;
    Texture* backToPause;
    Texture* backToPausePressed;
    Texture* howToPlayCompact;
    Texture* exitGameButton;
    Texture* exitGameButtonPressed;
    Texture* howToPlayPauseButton;
    Texture* howToPlayPauseButtonPressed;
    Texture* returnToMainMenuButton;
    Texture* returnToMainMenuButtonPressed;
    Texture* backPauseMenuButton;
    Texture* backPauseMenuButtonPressed;
    Texture* yesButton;
    Texture* yesButtonPressed;
    Texture* noButton;
    Texture* noButtonPressed;
    Texture* areYouSure;
    Texture* pauseCreditsButton;
    Texture* pauseCreditsButtonPressed;
    Texture* pauseRestartButton;
    Texture* pauseRestartButtonPressed;
    Texture* morrowLogo;
    Texture* credits;
    Texture* logosCredits;
    Texture* creditsExecutives;
    Texture* sfxActive;
    Texture* sfxActivePressed;
    Texture* sfxInactive;
    Texture* sfxInactivePressed;
    // House pictures: player tiers, enemy troops, castles, banners, counter frames.
    Texture* playerTroopPictures[TROOP_TYPES][TIER_COUNT];
    Texture* enemyTroopPictures[TROOP_TYPES];
    Texture* playerCastle;
    Texture* enemyCastle;
    Texture* playerBanner;
    Texture* enemyBanner;
    Texture* playerCounterFrame;
    Texture* enemyCounterFrame;
    // Effects and the coin sound.
    Sound* effects[EFFECT_COUNT];
    Sound* coinSound;
};

// One level's battle record. `static` members are the values all three levels share.
struct BattleState {
    const LevelTable* level = nullptr;

    // --- Shared by the three levels -------------------------------------------
    inline static int32_t money = 150;
    inline static int32_t knightTier = 0; // 0..4, shown as 1..5
    inline static int32_t spearmanTier = 0;
    inline static int32_t horsemanTier = 0;
    inline static int32_t knightUpgradePrice = 100; // before the discount
    inline static int32_t spearmanUpgradePrice = 100;
    inline static int32_t horsemanUpgradePrice = 100;
    inline static int32_t castleHealthBonus = 0; // set by level 1 only
    inline static int32_t damageBonus = 0;       // set by level 1 only
    inline static bool paused = false;
    inline static bool thiefOut = false;
    inline static bool battleLost = false;
    inline static bool battleWon = false;
    inline static bool playerHoldsBanner = false;
    inline static bool enemyHoldsBanner = false;
    // Lane combat: exchange timers and upLaneClear are never reset by Init.
    inline static int32_t downExchangeTimer = 60;
    inline static int32_t upExchangeTimer = 60;
    inline static bool downLaneClear = true;
    inline static bool upLaneClear = true;
    inline static bool downDustShown = false;
    inline static bool upDustShown = false;
    inline static float dustX = 0;

    // --- The level's own -------------------------------------------------------
    float spawnCooldown = 0; // shared buy cooldown, seconds
    bool battleStarted = false;
    int32_t incomeBonus = 0;
    int32_t upgradeDiscount = 0;
    float incomeTimer = 0;     // never reset by Init
    int32_t catapultState = 0; // 0 locked, 1 unlocked
    bool catapultJustUnlocked = false;
    float catapultCooldown = 0; // never reset by Init
    int32_t alliedCrossings = 0;
    int32_t enemyCrossings = 0;
    float endTransitionTimer = 2;
    bool endWallPlaced = false;
    bool introWallGone = false;
    bool hudHidden = false;
    // Enemy commander (never reset by Init; first intervals drawn at program start).
    float downWaveTimer = 0;
    float upWaveTimer = 0;
    float downWaveInterval = 1;
    float upWaveInterval = 1;
    int32_t downFollowUpChance = 20;
    int32_t upFollowUpChance = 20;
    int32_t baseFollowUpChance = 20;
    // Pause menu (cleared by Init; `paused` is shared above).
    int32_t pauseScrollOpen = 0;
    Sprite* pauseScroll = nullptr;
    bool settingsPageOpen = false;
    bool exitMenuOpen = false;
    bool quitConfirmOpen = false;
    bool returnToMenuChosen = false;
    bool restartChosen = false;
    bool howToPlayPageShown = false;
    bool creditsShown = false;
    // The money read-out's own buffer (large enough for any int32 value).
    char moneyText[32] = {};
    // The level's font, music and ambient sound with their channels.
    Font* hudFont = nullptr;
    Sound* music = nullptr;
    Channel* musicChannel = nullptr;
    Sound* ambient = nullptr;
    Channel* ambientChannel = nullptr;
    // Current channel of each primed effect (effect rule).
    Channel* effectChannels[EFFECT_COUNT] = {};
    // Objects of the field the battle steps reach every frame (valid Init..Free).
    GameObject* background = nullptr; // "BG" (a Sprite)
    GameObject* introWall = nullptr;
    GameObject* endWall = nullptr;
    GameObject* cursor = nullptr;
    GameObject* banner = nullptr;
    GameObject* lockPicture = nullptr;
    GameObject* cannonButton = nullptr;
    GameObject* cannonButtonSprite = nullptr;
    GameObject* spawnerUp[TROOP_TYPES] = {};
    GameObject* spawnerDown[TROOP_TYPES] = {};
    GameObject* upgrader[TROOP_TYPES] = {};
    GameObject* buyPicture[TROOP_TYPES] =
        {};                             // "KnightUpgrade", "SpearmanUpgrade", "HorsemanUpgrade"
    GameObject* thiefArea = nullptr;    // first "ThiefUpgrade"
    GameObject* thiefPicture = nullptr; // second "ThiefUpgrade"
    GameObject* continueButton = nullptr;
    GameObject* settingsButton = nullptr;
    GameObject* exitButton = nullptr;
    GameObject* playerCastle = nullptr;
    GameObject* enemyCastle = nullptr;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

extern const LevelTable levelTables[LEVEL_COUNT];
extern BattleState levelStates[LEVEL_COUNT];
// The record of the level being played (level 1's before any level starts).
extern BattleState* battle;
extern BattleAssets battleAssets;
// Tests: a non-zero value seeds rand() with it instead of the time in Init.
extern unsigned battleSeedOverride;

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Clears the end-of-battle flags (the win, lose and main menu screens call it).
// Levels of the battle's music and of its effects (the rain too): the volume,
// or 0 while muted or in the background.
float BattleMusicLevel();
float BattleEffectLevel();
void ClearBattleEndFlags();
// Plays a primed effect by the battle's effect rule.
void PlayBattleEffect(BattleEffect effect);
// The upgrade price shown and charged for a type (price minus the discount).
int32_t UpgradePriceAfterDiscount(TroopType type);
// Tier index and price (before discount) of a type.
int32_t& TierOf(TroopType type);
int32_t& UpgradePriceOf(TroopType type);
