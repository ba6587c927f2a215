// Troops: the knight, spearman and horseman (one shared set-up and frame
// step, told apart by their type), the fight cloud, the spawn functions and
// the upgrade refresh. Depends on the battle record, its assets and the
// object list.
#include <cstring>

#include "app/settings.h"
#include "battle/battle_objects.h"

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

static const char* const TROOP_TYPE_NAMES[TROOP_TYPES] = {"Knight", "Spearman", "Horseman"};
// Allied damage by tier index (down lane without and with the banner, up lane).
static const float TIER_DAMAGE[TIER_COUNT] = {15, 20, 25, 30, 40};
static const float BANNER_EXTRA_DAMAGE = 7;
static const float WALK_SPEED = 0.8f;
static const float BANNER_SPEED = 1.0f;
static const float TROOP_BAR_WIDTH = 70;
static const float SPAWN_X = 510;
static const float LANE_Y = 100;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

static bool IsEnemyName(const std::string& name) {
    return name == "EnemyDown" || name == "EnemyUp";
}

static bool IsDownLaneName(const std::string& name) {
    return name == "AllieDown" || name == "EnemyDown";
}

// The Warriors' extra damage of every allied troop (0 for the other houses).
static float WarriorsBonus() {
    return house == HOUSE_WARRIORS ? static_cast<float>(BattleState::damageBonus) : 0.0f;
}

// Points a sprite at an animation (a missing animation keeps the picture).
static void ShowAnimation(Sprite* sprite, Animation* animation) {
    if (animation) SetAnimation(sprite, animation);
}

// Walks one step along x, or stands on the animation's first frame.
static void WalkOrStand(Sprite* troop, bool mayWalk, float direction) {
    if (mayWalk) {
        troop->position[0] += direction * troop->speed;
        troop->playing = 1;
        return;
    }
    troop->frame = 0;
    troop->animTime = 0;
    if (troop->animation) UpdateFrameMatrix(troop);
    troop->playing = 0;
}

// The shared set-up of a new troop.
static void InitTroop(Sprite* troop, TroopType type) {
    troop->health = 100;
    troop->maxHealth = 100;
    troop->damage = 15;
    troop->speed = WALK_SPEED;
    troop->walkUpLane = 1;
    troop->walkDownLane = 1;
    troop->rotation = PI_F;
    troop->mesh = squareMesh;
    troop->typeName = TROOP_TYPE_NAMES[type];
    troop->healthBarWidth = TROOP_BAR_WIDTH;
    float x = troop->position[0], y = troop->position[1];
    bool enemy = IsEnemyName(troop->name);
    if (enemy) {
        ShowAnimation(troop, battleAssets.enemyTroopAnims[type]);
    } else {
        ShowAnimation(troop, battleAssets.playerTroopAnims[type][TierOf(type)]);
        troop->damage += WarriorsBonus();
    }
    troop->loop = 1;
    troop->healthBarFrame = AddObject(new GameObject(), "HealthBar", x, y + 90,
                                      enemy ? -TROOP_BAR_WIDTH : TROOP_BAR_WIDTH, 40, PI_F,
                                      squareMesh, battleAssets.emptyHealthBar);
    troop->healthBarFill = AddObject(new GameObject(), "HealthBar", x, y + 90, TROOP_BAR_WIDTH, 50,
                                     PI_F, squareMesh, battleAssets.healthBar);
    if (IsDownLaneName(troop->name)) {
        troop->swordMarker =
            AddObject(new GameObject(), "SwordSprite", x, y + 150, enemy ? -30.0f : 30.0f, 30, PI_F,
                      squareMesh, battleAssets.bannerPowerUp);
        if (troop->swordMarker) troop->swordMarker->visible = 0;
    }
}

// Damage of an allied down-lane troop of this tier, with or without the banner.
static float AlliedDownLaneDamage(int32_t tier, bool banner) {
    return TIER_DAMAGE[tier] + (banner ? BANNER_EXTRA_DAMAGE : 0) + WarriorsBonus();
}

// The shared frame step of a troop.
static void UpdateTroop(Sprite* troop, TroopType type) {
    if (BattleState::paused) {
        troop->playing = 0;
        return;
    }
    int32_t tier = TierOf(type);
    if (tier < 0) tier = 0;
    if (tier >= TIER_COUNT) tier = TIER_COUNT - 1;
    const std::string& name = troop->name;
    bool enemy = IsEnemyName(name);
    if (name == "AllieUp") {
        WalkOrStand(troop, troop->walkUpLane == 1, 1);
        if (tier > 0) troop->damage = TIER_DAMAGE[tier];
    } else if (name == "AllieDown") {
        WalkOrStand(troop, troop->walkDownLane == 1, 1);
        bool banner = BattleState::playerHoldsBanner;
        troop->speed = banner ? BANNER_SPEED : WALK_SPEED;
        if (troop->swordMarker) troop->swordMarker->visible = banner ? 1 : 0;
        troop->damage = AlliedDownLaneDamage(0, banner);
        if (tier > 0) troop->damage = AlliedDownLaneDamage(tier, banner);
    } else if (name == "EnemyUp") {
        WalkOrStand(troop, troop->walkUpLane == 1, -1);
    } else if (name == "EnemyDown") {
        WalkOrStand(troop, troop->walkDownLane == 1, -1);
        bool banner = BattleState::enemyHoldsBanner;
        troop->speed = banner ? BANNER_SPEED : WALK_SPEED;
        troop->damage = banner ? 17.0f : 15.0f;
        if (troop->swordMarker) troop->swordMarker->visible = banner ? 1 : 0;
    }
    float x = troop->position[0], y = troop->position[1];
    if (troop->healthBarFill) {
        float width = troop->health / troop->maxHealth * TROOP_BAR_WIDTH;
        float shift = (TROOP_BAR_WIDTH - width) / 2;
        troop->healthBarFill->position[0] = enemy ? x + shift : x - shift;
        troop->healthBarFill->position[1] = y + 90;
        if (troop->healthBarFrame) troop->healthBarFrame->position[0] = x;
    }
    if (troop->swordMarker) {
        troop->swordMarker->position[0] = x;
        troop->swordMarker->position[1] = y + 110;
    }
}

// ---------------------------------------------------------------------------
// Classes
// ---------------------------------------------------------------------------

void Knight::Init() {
    InitTroop(this, TROOP_KNIGHT);
}
void Knight::Update() {
    UpdateTroop(this, TROOP_KNIGHT);
}
void Spearman::Init() {
    InitTroop(this, TROOP_SPEARMAN);
}
void Spearman::Update() {
    UpdateTroop(this, TROOP_SPEARMAN);
}
void Horseman::Init() {
    InitTroop(this, TROOP_HORSEMAN);
}
void Horseman::Update() {
    UpdateTroop(this, TROOP_HORSEMAN);
}

// The cloud takes the fight animation.
void Dust::Init() {
    mesh = squareMesh;
    rotation = PI_F;
    ShowAnimation(this, battleAssets.dustAnim);
}

// The cloud plays while the battle runs.
void Dust::Update() {
    if (BattleState::paused) {
        playing = 0;
        return;
    }
    loop = 1;
    playing = 1;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Troop type of a typeName.
int TroopTypeOfName(const std::string& typeName) {
    for (int i = 0; i < TROOP_TYPES; i++)
        if (typeName == TROOP_TYPE_NAMES[i]) return i;
    return -1;
}

// A new object of the troop class of `type`.
static Sprite* NewTroop(TroopType type) {
    if (type == TROOP_SPEARMAN) return new Spearman();
    if (type == TROOP_HORSEMAN) return new Horseman();
    return new Knight();
}

// A player troop at the left end of a lane, with its tier's picture.
GameObject* SpawnPlayerTroop(TroopType type, bool upLane) {
    if (type < 0 || type >= TROOP_TYPES) return nullptr;
    int32_t tier = TierOf(type);
    if (tier < 0 || tier >= TIER_COUNT) tier = 0;
    float width = (type == TROOP_HORSEMAN && !upLane && tier == 3) ? 100.0f : 90.0f;
    return AddObject(NewTroop(type), upLane ? "AllieUp" : "AllieDown", -SPAWN_X,
                     upLane ? LANE_Y : -LANE_Y, width, 90, PI_F, squareMesh,
                     battleAssets.playerTroopPictures[type][tier]);
}

// An enemy troop at the right end of a lane (mirrored).
GameObject* SpawnEnemyTroop(TroopType type, bool upLane) {
    if (type < 0 || type >= TROOP_TYPES) return nullptr;
    return AddObject(NewTroop(type), upLane ? "EnemyUp" : "EnemyDown", SPAWN_X,
                     upLane ? LANE_Y : -LANE_Y, -90, 90, PI_F, squareMesh,
                     battleAssets.enemyTroopPictures[type]);
}

// Every player troop takes its type's current tier animation from the first frame.
void RefreshPlayerTroopAnimations() {
    for (GameObject* object : objectList) {
        if (!object || (object->name != "AllieDown" && object->name != "AllieUp")) continue;
        int type = TroopTypeOfName(object->typeName);
        if (type < 0) continue;
        int32_t tier = TierOf(static_cast<TroopType>(type));
        if (tier < 0 || tier >= TIER_COUNT) continue;
        if (Sprite* sprite = dynamic_cast<Sprite*>(object))
            ShowAnimation(sprite, battleAssets.playerTroopAnims[type][tier]);
    }
}
