// Level set-up: what a level's Load reads for the player's house and its
// enemy, what its Init places on the field and resets, and what Free and
// Unload release. Depends on the battle record, the object list, textures,
// animations, sounds, the battle's effect cues, fonts and the settings values.
#include "battle/level_setup.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "battle/battle_cues.h"
#include "battle/battle_objects.h"
#include "battle/castle.h"
#include "battle/economy.h"
#include "engine/audio/sound.h"
#include "engine/graphics/font.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "engine/graphics/texture_pages.h"
#include "objects/animation.h"
#include "screens/main_menu.h"
#include "screens/pause_menu.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

// File-name parts of each house.
struct HouseFiles {
    const char* folder; // under data\Animation
    const char* tag;    // troop pictures
    const char* castle;
    const char* banner;
    const char* counterFrame;
};
static const HouseFiles HOUSE_FILES[4] = {
    {"Noblemen", "Nobel", "data\\Nobel_Castle.png", "data\\BannerNoblemen.png",
     "data\\FrameCircleNoblemen.png"},
    {"Workers", "Worker", "data\\Worker_Castle.png", "data\\BannerWorkers.png",
     "data\\FrameCircleWorkers.png"},
    {"Wisemen", "Wisemen", "data\\Wiseman_Castle.png", "data\\BannerWisemen.png",
     "data\\FrameCircleWisemen.png"},
    {"Warriors", "Warrior", "data\\Warrior_Castle.png", "data\\BannerWarriors.png",
     "data\\FrameCircleWarriors.png"},
};
static const char* const TROOP_FOLDERS[TROOP_TYPES] = {"Knights", "Spearmen", "Horsemen"};
static const char* const TROOP_NAMES[TROOP_TYPES] = {"Knight", "Spearman", "Horseman"};
static const char* const EFFECT_FILES[EFFECT_COUNT] = {
    "data\\UpgradeSound.wav", "data\\NoMoneyClick.mp3",  "data\\SpendMoney.wav",
    "data\\KnightSpawn.mp3",  "data\\SpearmanSpawn.mp3", "data\\ThiefSpawn.mp3",
    "data\\HorseSpawn.mp3"};
// House bonus values.
static const int32_t INCOME_BONUS = 1, CASTLE_HEALTH_BONUS = 30, UPGRADE_DISCOUNT = 20,
                     DAMAGE_BONUS = 2;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Path of a troop animation: data\Animation\<house>\<folder>\<Name><suffix>.
static std::string TroopAnimationPath(int houseIndex, int type, int tier) {
    std::string path = std::string("data\\Animation\\") + HOUSE_FILES[houseIndex].folder + "\\" +
                       TROOP_FOLDERS[type] + "\\" + TROOP_NAMES[type];
    if (tier > 0) path += std::to_string(tier);
    return path;
}

// Path of a troop picture: data\<Name>_<tag>_<n>.png.
static std::string TroopPicturePath(int type, const char* tag, int number) {
    return std::string("data\\") + TROOP_NAMES[type] + "_" + tag + "_" + std::to_string(number) +
           ".png";
}

// Tag of the enemy's troop pictures: the levels after the first spell the
// Wisemen pictures "Wiseman", and level 3 shows those to a Workers player's
// Noblemen enemy as well.
static const char* EnemyPictureTag(const LevelTable& level, int enemyHouse) {
    if (level.number == 1) return HOUSE_FILES[enemyHouse].tag;
    if (enemyHouse == HOUSE_WISEMEN) return "Wiseman";
    if (level.number == 3 && house == HOUSE_WORKERS && enemyHouse == HOUSE_NOBLEMEN)
        return "Wiseman";
    return HOUSE_FILES[enemyHouse].tag;
}

// The house pictures and animations of the player and the enemy.
static void LoadHouseAssets(const LevelTable& level) {
    BattleAssets& a = battleAssets;
    if (house > 3) {
        std::fprintf(stderr, "battle: house %u is not 0..3; no house pictures loaded\n",
                     static_cast<unsigned>(house));
        return;
    }
    int enemy = level.enemyHouse[house];
    for (int type = 0; type < TROOP_TYPES; type++) {
        for (int tier = 0; tier < TIER_COUNT; tier++) {
            a.playerTroopAnims[type][tier] =
                LoadAnimation(TroopAnimationPath(house, type, tier).c_str());
            a.playerTroopPictures[type][tier] =
                LoadTexture(TroopPicturePath(type, HOUSE_FILES[house].tag, tier + 1).c_str());
        }
    }
    int index = level.number - 1;
    for (int type = 0; type < TROOP_TYPES; type++) {
        a.enemyTroopAnims[type] = LoadAnimation(EnemyTroopAnimationPath(index, type).c_str());
        a.enemyTroopPictures[type] = LoadTexture(EnemyTroopPicturePath(index, type).c_str());
    }
    a.playerCastle = LoadTexture(HOUSE_FILES[house].castle);
    a.enemyCastle = LoadTexture(HOUSE_FILES[enemy].castle);
    a.playerBanner = LoadTexture(HOUSE_FILES[house].banner);
    a.enemyBanner = LoadTexture(HOUSE_FILES[enemy].banner);
    a.playerCounterFrame = LoadTexture(HOUSE_FILES[house].counterFrame);
    a.enemyCounterFrame = LoadTexture(HOUSE_FILES[enemy].counterFrame);
}

// The pictures every level loads whatever the houses: the field, the pause
// menu and its pages, the buy panel, the catapult and the cursor. One table
// serves Load and Unload, so a picture added here is released too.
struct FixedPicture {
    Texture* BattleAssets::*slot;
    const char* path;
};
static const FixedPicture FIXED_PICTURES[] = {
    {&BattleAssets::thief, "data\\Thief.png"},
    {&BattleAssets::fightCloud, "data\\FightCloud.png"},
    {&BattleAssets::bannerStandard, "data\\BannerStandard.png"},
    {&BattleAssets::red, "data\\red.png"},
    {&BattleAssets::redAreas, "data\\red.png"},
    {&BattleAssets::blue, "data\\blue.png"},
    {&BattleAssets::green, "data\\green.png"},
    {&BattleAssets::healthBar, "data\\HealthBar.png"},
    {&BattleAssets::emptyHealthBar, "data\\EmptyHealthBar.png"},
    {&BattleAssets::bannerPowerUp, "data\\BannerPowerUpSprite.png"},
    {&BattleAssets::coin, "data\\Coin.png"},
    {&BattleAssets::coin40, "data\\Coin+40.png"},
    {&BattleAssets::coin50, "data\\Coin+50.png"},
    {&BattleAssets::coin100, "data\\Coin+100.png"},
    {&BattleAssets::coin200, "data\\Coin+200.png"},
    {&BattleAssets::transitionWall, "data\\TransitionWall.png"},
    {&BattleAssets::settings, "data\\Settings.png"},
    {&BattleAssets::arrow, "data\\Arrow.png"},
    {&BattleAssets::arrowRight, "data\\ArrowRight.png"},
    {&BattleAssets::backToPause, "data\\BackToPause.png"},
    {&BattleAssets::backToPausePressed, "data\\BackToPausePressed.png"},
    {&BattleAssets::exitGameButton, "data\\ExitGameButton.png"},
    {&BattleAssets::exitGameButtonPressed, "data\\ExitGameButtonPressed.png"},
    {&BattleAssets::howToPlayPauseButton, "data\\HowToPlayPauseButton.png"},
    {&BattleAssets::howToPlayPauseButtonPressed, "data\\HowToPlayPauseButtonPressed.png"},
    {&BattleAssets::returnToMainMenuButton, "data\\ReturnToMainMenuButton.png"},
    {&BattleAssets::returnToMainMenuButtonPressed, "data\\ReturnToMainMenuButtonPressed.png"},
    {&BattleAssets::backPauseMenuButton, "data\\BackPauseMenuButton.png"},
    {&BattleAssets::backPauseMenuButtonPressed, "data\\BackPauseMenuButtonPressed.png"},
    {&BattleAssets::yesButton, "data\\YesButton.png"},
    {&BattleAssets::yesButtonPressed, "data\\YesButtonPressed.png"},
    {&BattleAssets::noButton, "data\\NoButton.png"},
    {&BattleAssets::noButtonPressed, "data\\NoButtonPressed.png"},
    {&BattleAssets::areYouSure, "data\\AreYouSure.png"},
    {&BattleAssets::pauseCreditsButton, "data\\PauseCreditsButton.png"},
    {&BattleAssets::pauseCreditsButtonPressed, "data\\PauseCreditsButtonPressed.png"},
    {&BattleAssets::pauseRestartButton, "data\\PauseRestartButton.png"},
    {&BattleAssets::pauseRestartButtonPressed, "data\\PauseRestartButtonPressed.png"},
    {&BattleAssets::sfxActive, "data\\SFXButtonPauseActive.png"},
    {&BattleAssets::sfxActivePressed, "data\\SFXButtonPauseActivePressed.png"},
    {&BattleAssets::sfxInactive, "data\\SFXButtonPauseInactive.png"},
    {&BattleAssets::sfxInactivePressed, "data\\SFXButtonPauseInactivePressed.png"},
    {&BattleAssets::buyKnight1, "data\\BuyKnight1Button.png"},
    {&BattleAssets::buySpearman1, "data\\BuySpearman1Button.png"},
    {&BattleAssets::buyHorseman1, "data\\BuyHorseman1Button.png"},
    {&BattleAssets::buyThief, "data\\BuyThiefButton.png"},
    {&BattleAssets::buyKnightUp, "data\\BuyKnightUpButton.png"},
    {&BattleAssets::buyKnightDown, "data\\BuyKnightDownButton.png"},
    {&BattleAssets::buyKnightUpgrade, "data\\BuyKnightUpgradeButton.png"},
    {&BattleAssets::buySpearmanUp, "data\\BuySpearmanUpButton.png"},
    {&BattleAssets::buySpearmanDown, "data\\BuySpearmanDownButton.png"},
    {&BattleAssets::buySpearmanUpgrade, "data\\BuySpearmanUpgradeButton.png"},
    {&BattleAssets::buyHorsemanUp, "data\\BuyHorsemanUpButton.png"},
    {&BattleAssets::buyHorsemanDown, "data\\BuyHorsemanDownButton.png"},
    {&BattleAssets::buyHorsemanUpgrade, "data\\BuyHorsemanUpgradeButton.png"},
    {&BattleAssets::thiefButtonClicked, "data\\ThiefButtonClicked.png"},
    {&BattleAssets::healthBG, "data\\HealthBG.png"},
    {&BattleAssets::cannonButton, "data\\CannonButton.png"},
    {&BattleAssets::cannonButtonHover, "data\\CannonButtonHoover.png"},
    {&BattleAssets::lock, "data\\Lock.png"},
    {&BattleAssets::catapult, "data\\Catapult.png"},
    {&BattleAssets::rock, "data\\Rock.png"},
    {&BattleAssets::cursor, "data\\Cursor.png"},
};

// The field's still, read only when the field animation cannot be: "BG" takes
// the animation as soon as it is made, so the still would never be seen.
static const char* const FIELD_STILL = "data\\DefinitiveBackground.png";

// The large pictures only a pause page shows, read the first time that page
// opens (LoadPausePictures), so a battle nobody pauses never holds them.
struct PausePicture {
    Texture* BattleAssets::*slot;
    const char* path;
    PausePictures group;
};
static const PausePicture PAUSE_PICTURES[] = {
    {&BattleAssets::scrollPlain, "data\\ScrollPlain.png", PausePictures::PAGES},
    {&BattleAssets::scrollContinue, "data\\ScrollContinue.png", PausePictures::PAGES},
    {&BattleAssets::scrollSettings, "data\\ScrollSettings.png", PausePictures::PAGES},
    {&BattleAssets::scrollAnimation0, "data\\Animation\\ScrollAnimation_0.png",
     PausePictures::SCROLL},
    {&BattleAssets::scrollContinueThingy, "data\\ScrollContinueThingy.png", PausePictures::SCROLL},
    {&BattleAssets::scrollBlank, "data\\ScrollBlank.png", PausePictures::PAGES},
    {&BattleAssets::howToPlayCompact, "data\\HowToPlayCompact.png", PausePictures::HOW_TO_PLAY},
    {&BattleAssets::morrowLogo, "data\\MorrowLogo.png", PausePictures::CREDITS},
    {&BattleAssets::credits, "data\\Credits.png", PausePictures::CREDITS},
    {&BattleAssets::logosCredits, "data\\LogosCredits.png", PausePictures::CREDITS},
    {&BattleAssets::creditsExecutives, "data\\CreditsExecutives.png", PausePictures::CREDITS},
};

// The house pictures of both sides, each slot once.
static std::vector<Texture**> HousePictureSlots() {
    BattleAssets& a = battleAssets;
    std::vector<Texture**> slots = {&a.playerCastle, &a.enemyCastle,        &a.playerBanner,
                                    &a.enemyBanner,  &a.playerCounterFrame, &a.enemyCounterFrame};
    for (int type = 0; type < TROOP_TYPES; type++) {
        for (int tier = 0; tier < TIER_COUNT; tier++)
            slots.push_back(&a.playerTroopPictures[type][tier]);
        slots.push_back(&a.enemyTroopPictures[type]);
    }
    return slots;
}

// The pause groups read since Load (bits by group), each read once.
static unsigned pauseGroupsRead = 0;

// Loads every picture of the fixed table; no pause group is read yet.
static void LoadFixedPictures() {
    for (const FixedPicture& picture : FIXED_PICTURES)
        battleAssets.*picture.slot = LoadTexture(picture.path);
    pauseGroupsRead = 0;
}

// Releases every texture handle of the asset set (each held once).
static void UnloadAllPictures() {
    std::vector<Texture**> slots = HousePictureSlots();
    slots.push_back(&battleAssets.background);
    for (const FixedPicture& picture : FIXED_PICTURES)
        slots.push_back(&(battleAssets.*picture.slot));
    for (const PausePicture& picture : PAUSE_PICTURES)
        slots.push_back(&(battleAssets.*picture.slot));
    for (Texture** texture : slots) {
        if (*texture) UnloadTexture(*texture);
        *texture = nullptr;
    }
}

// The house bonuses a level sets: level 1 all four, the others only income
// and discount (the castle and damage bonuses stay as level 1 left them).
static void SetHouseBonuses(BattleState* state) {
    state->incomeBonus = house == HOUSE_NOBLEMEN ? INCOME_BONUS : 0;
    state->upgradeDiscount = house == HOUSE_WISEMEN ? UPGRADE_DISCOUNT : 0;
    if (!state->level->setsEveryBonus) return;
    BattleState::castleHealthBonus = house == HOUSE_WORKERS ? CASTLE_HEALTH_BONUS : 0;
    BattleState::damageBonus = house == HOUSE_WARRIORS ? DAMAGE_BONUS : 0;
}

// The start values of the record (the commander, exchange timers, upLaneClear,
// income timer and catapult cooldown are left as they are).
static void ResetRecord(BattleState* state) {
    BattleState::money = 150;
    if (state->level->resetsUpgrades) ResetUpgrades();
    state->spawnCooldown = 0;
    state->battleStarted = false;
    BattleState::thiefOut = false;
    state->catapultState = 0;
    state->catapultJustUnlocked = false;
    state->alliedCrossings = 0;
    state->enemyCrossings = 0;
    BattleState::playerHoldsBanner = false;
    BattleState::enemyHoldsBanner = false;
    BattleState::downLaneClear = true;
    BattleState::downDustShown = false;
    BattleState::upDustShown = false;
    state->endTransitionTimer = END_CURTAIN_SECONDS;
    state->endWallPlaced = false;
    state->introWallGone = false;
    state->hudHidden = false;
    BattleState::paused = false;
    state->pauseScrollOpen = 0;
    state->pauseScroll = nullptr;
    state->settingsPageOpen = false;
    state->exitMenuOpen = false;
    state->quitConfirmOpen = false;
    state->returnToMenuChosen = false;
    state->restartChosen = false;
    state->howToPlayPageShown = false;
    state->creditsShown = false;
    SetHouseBonuses(state);
}

// The objects of the field, in drawing order.
static void PlaceObjects(BattleState* s) {
    BattleAssets& a = battleAssets;
    Sprite* background = new Sprite();
    AddObject(background, "BG", 0, 0, BACKDROP_WIDTH, BACKDROP_HEIGHT, PI_F, squareMesh,
              a.background);
    if (a.fieldAnim) SetAnimation(background, a.fieldAnim);
    background->loop = 1;
    s->background = background;
    s->playerCastle = AddObject(new Castle(), "AllieDown");
    s->enemyCastle = AddObject(new Castle(), "EnemyDown");
    s->spawnerUp[TROOP_KNIGHT] = AddPicture("KnightSpawnerUp", -572.5f, 310, 90, 40, a.redAreas);
    s->spawnerDown[TROOP_KNIGHT] =
        AddPicture("KnightSpawnerdOWN", -572.5f, 258, 90, 40, a.redAreas);
    s->upgrader[TROOP_KNIGHT] = AddPicture("KnightUpgrader", -507.5f, 284, 15, 100, a.redAreas);
    s->spawnerUp[TROOP_SPEARMAN] =
        AddPicture("SpearmanSpawnerUp", -442.5f, 310, 90, 40, a.redAreas);
    s->spawnerDown[TROOP_SPEARMAN] =
        AddPicture("SpearmanSpawnerDown", -442.5f, 258, 90, 40, a.redAreas);
    s->upgrader[TROOP_SPEARMAN] = AddPicture("SpearmanUpgrader", -377.5f, 284, 15, 100, a.redAreas);
    s->spawnerUp[TROOP_HORSEMAN] =
        AddPicture("HorsemanSpawnerUp", -312.5f, 310, 90, 40, a.redAreas);
    s->spawnerDown[TROOP_HORSEMAN] =
        AddPicture("HorsemanSpawnerDown", -312.5f, 258, 90, 40, a.redAreas);
    s->upgrader[TROOP_HORSEMAN] = AddPicture("HorsemanUpgrader", -247, 284, 15, 100, a.redAreas);
    s->buyPicture[TROOP_KNIGHT] = AddPicture("KnightUpgrade", -560, 285, -240, 150, a.buyKnight1);
    s->buyPicture[TROOP_SPEARMAN] =
        AddPicture("SpearmanUpgrade", -430, 285, -240, 150, a.buySpearman1);
    s->buyPicture[TROOP_HORSEMAN] =
        AddPicture("HorsemanUpgrade", -300, 285, -240, 150, a.buyHorseman1);
    s->cannonButton = AddPicture("CannonButton", -180, 285, 100, 100, a.red);
    s->cannonButtonSprite = AddPicture("CannonButtonSprite", -180, 285, -240, 150, a.cannonButton);
    s->thiefArea = AddPicture("ThiefUpgrade", -560, -240, 100, 100, a.redAreas);
    s->thiefPicture = AddPicture("ThiefUpgrade", -560, -240, -100, 100, a.buyThief);
    s->banner = AddPicture("Banner", 0, 150, 200, 200, a.bannerStandard);
    s->lockPicture = AddPicture("Lock", -180, 275, 150, 150, a.lock);
    AddPicture("AllieCounterSprite", 410, 300, -175, 175, a.playerCounterFrame);
    AddPicture("EnemyCounterSprite", 560, 300, 175, 175, a.enemyCounterFrame);
    s->continueButton = AddPicture("ContinueButton", 0, 85, 200, 50, a.red);
    s->settingsButton = AddPicture("SettingsButton", 0, -15, 200, 50, a.blue);
    s->exitButton = AddPicture("ExitButton", 0, -100, 175, 50, a.green);
    for (GameObject* button : {s->continueButton, s->settingsButton, s->exitButton})
        if (button) button->visible = 0;
    s->cursor = AddObject(new GameObject(), "Cursor", cursorWorldX, cursorWorldY, 25, 25,
                          CURSOR_ROTATION, squareMesh, a.cursor);
    s->introWall = AddPicture("Wall", 0, 0, CURTAIN_WIDTH, CURTAIN_HEIGHT, a.transitionWall);
    s->endWall = nullptr;
}

// Starts the music (and the ambient sound) looping at their settings' levels
// and primes the effects.
static void StartSounds(BattleState* state) {
    state->musicChannel = PlaySound(state->music, false, BattleMusicLevel());
    if (state->musicChannel) SetChannelLooping(state->musicChannel);
    state->ambientChannel = nullptr;
    if (state->ambient) {
        state->ambientChannel = PlaySound(state->ambient, false, BattleEffectLevel());
        if (state->ambientChannel) SetChannelLooping(state->ambientChannel);
    }
    for (int effect = 0; effect < EFFECT_COUNT; effect++)
        state->effectChannels[effect] =
            PlaySound(battleAssets.effects[effect], true, BattleEffectLevel());
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// The enemy's house in level `index` for the player's house.
int EnemyHouseOf(int index) {
    if (index < 0 || index >= LEVEL_COUNT || house > 3) return -1;
    return levelTables[index].enemyHouse[house];
}

// The enemy's animation file of a troop type in level `index`.
std::string EnemyTroopAnimationPath(int index, int type) {
    int enemy = EnemyHouseOf(index);
    if (enemy < 0 || type < 0 || type >= TROOP_TYPES) return "";
    return TroopAnimationPath(enemy, type, levelTables[index].enemyTierIndex);
}

// The enemy's picture file of a troop type in level `index`.
std::string EnemyTroopPicturePath(int index, int type) {
    int enemy = EnemyHouseOf(index);
    if (enemy < 0 || type < 0 || type >= TROOP_TYPES) return "";
    const LevelTable& level = levelTables[index];
    return TroopPicturePath(type, EnemyPictureTag(level, enemy), level.enemyPictureNumber);
}

// Each troop is drawn with its health bars (and its sword marker) right
// after it, hundreds a frame: one page holds every troop sheet of the level
// (each tier's, the enemy's) and the bars, so the troops and bars of a battle
// all read one texture.
static void PageTroopPictures() {
    BattleAssets& a = battleAssets;
    std::vector<Texture*> pictures = {a.emptyHealthBar, a.healthBar, a.bannerPowerUp};
    for (int type = 0; type < TROOP_TYPES; type++) {
        for (int tier = 0; tier < TIER_COUNT; tier++)
            if (a.playerTroopAnims[type][tier])
                pictures.push_back(a.playerTroopAnims[type][tier]->texture);
        if (a.enemyTroopAnims[type]) pictures.push_back(a.enemyTroopAnims[type]->texture);
    }
    ShareTexturePage(pictures.data(), (int)pictures.size());
}

// Load of level `index`: font, sounds, animations, pictures, the square mesh.
void LoadLevel(int index) {
    BattleState* state = &levelStates[index];
    const LevelTable& level = levelTables[index];
    battle = state;
    state->level = &level;
    state->hudFont = LoadFont(20, 1.0f);
    for (int effect = 0; effect < EFFECT_COUNT; effect++)
        battleAssets.effects[effect] = LoadSound(EFFECT_FILES[effect]);
    battleAssets.coinSound = LoadSound(level.coinSound);
    state->ambient = level.ambient ? LoadSound(level.ambient) : nullptr;
    LoadBattleCues();
    // The music, a quarter of the Load on one core, decodes on another while
    // the pictures load. Last of the sounds: the mixer decodes one MP3 at a
    // time, and an effect would wait for the whole piece.
    LoadSoundInBackground(level.music, &state->music);
    battleAssets.thiefAnim = LoadAnimation("data\\Animation\\ThiefAnimation");
    battleAssets.dustAnim = LoadAnimation("data\\Animation\\DustAnim");
    battleAssets.fieldAnim = LoadAnimation(level.fieldAnimation);
    if (battleAssets.fieldAnim == nullptr) {
        std::fprintf(stderr, "battle: no field animation \"%s\"; the field shows \"%s\"\n",
                     level.fieldAnimation, FIELD_STILL);
        battleAssets.background = LoadTexture(FIELD_STILL);
    }
    LoadFixedPictures();
    LoadHouseAssets(level);
    PageTroopPictures();
    squareMesh = CreateSquareMesh(0xFFFFFFFF);
    FinishSoundLoads();
}

// The pictures of one group of pause pages (the scroll's sheets among them),
// read the first time the group is needed after Load (a file that fails is
// named once, not at every pause). The first pause pays for the scroll's
// sheets instead of the level's Load; see docs/performance.md.
void LoadPausePictures(PausePictures group) {
    const unsigned bit = 1u << static_cast<int>(group);
    if (pauseGroupsRead & bit) return;
    pauseGroupsRead |= bit;
    BattleAssets& a = battleAssets;
    if (group == PausePictures::SCROLL) {
        a.scrollOpenAnim = LoadAnimation("data\\Animation\\ScrollAnimOpen");
        a.scrollCloseAnim = LoadAnimation("data\\Animation\\ScrollAnimClose");
    }
    for (const PausePicture& picture : PAUSE_PICTURES)
        if (picture.group == group) a.*picture.slot = LoadTexture(picture.path);
}

// Init of level `index`: sounds, the record's start values, the objects,
// the sound settings and the random seed.
void InitLevel(int index) {
    BattleState* state = &levelStates[index];
    battle = state;
    state->level = &levelTables[index];
    // The battle has ended the menu's track: the next menu starts a new one.
    menuMusicStarted = false;
    // A restart while the closing curtain runs must not end the new battle.
    ClearBattleEndFlags();
    StartSounds(state);
    ResetRecord(state);
    PlaceObjects(state);
    SyncBattleSound();
    srand(battleSeedOverride ? battleSeedOverride : static_cast<unsigned>(time(nullptr)));
}

// Free of every level: the objects, then every sound but the button click
// that may have asked for the change.
void FreeLevel() {
    FreeAllObjects();
    StopAllSoundsButClick();
    BattleState* state = battle;
    state->musicChannel = nullptr;
    state->ambientChannel = nullptr;
    for (Channel*& channel : state->effectChannels)
        channel = nullptr;
    ForgetBattleCueVoices();
    state->pauseScroll = nullptr;
}

// Unload of level `index`: exactly what its Load read.
void UnloadLevel(int index) {
    BattleState* state = &levelStates[index];
    if (squareMesh) FreeMesh(squareMesh);
    squareMesh = nullptr;
    UnloadAllPictures();
    if (state->hudFont) FreeFont(state->hudFont);
    state->hudFont = nullptr;
    FreeAllAnimations();
    BattleAssets& a = battleAssets;
    a.scrollOpenAnim = a.scrollCloseAnim = a.thiefAnim = a.dustAnim = a.fieldAnim = nullptr;
    for (int type = 0; type < TROOP_TYPES; type++) {
        for (Animation*& animation : a.playerTroopAnims[type])
            animation = nullptr;
        a.enemyTroopAnims[type] = nullptr;
    }
    for (Sound*& sound : a.effects) {
        if (sound) ReleaseSound(sound);
        sound = nullptr;
    }
    if (a.coinSound) ReleaseSound(a.coinSound);
    a.coinSound = nullptr;
    if (state->music) ReleaseSound(state->music);
    state->music = nullptr;
    if (state->ambient) ReleaseSound(state->ambient);
    state->ambient = nullptr;
    ReleaseBattleCues();
}
