// Lane combat: the engagement scan that stops troops in contact and makes
// enemy pairs exchange blows by the type matrix, deaths and their reward, the
// up-lane crossings and the banner. Depends on the battle record, its assets,
// the troop classes, the object list and the battle's effect cues.
#include "battle/lane_combat.h"

#include <cstdio>
#include <vector>

#include "app/settings.h"
#include "battle/battle_cues.h"
#include "battle/battle_objects.h"

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

static const float CONTACT_DISTANCE_SQUARED = 6400; // 80 units
static const float MATCHUP_EXTRA_DAMAGE = 7;
static const int32_t EXCHANGE_TICKS = 60;
static const float CROSSING_X = 570;
static const int32_t KILL_REWARD = 10;

// Objects the scan never treats as an opponent.
static const char* const SCAN_IGNORED_NAMES[] = {"HealthBar",      "SwordSprite", "Cursor",
                                                 "Banner",         "BG",          "ContinueButton",
                                                 "SettingsButton", "ExitButton"};

// One lane's fight state, pointing into the shared record.
struct LaneRefs {
    const char* allyName;
    const char* enemyName;
    const char* dustName;
    int32_t* exchangeTimer;
    bool* laneClear;
    bool* dustShown;
    uint8_t GameObject::*walkFlag;
};

static LaneRefs DownLane() {
    return {"AllieDown",
            "EnemyDown",
            "DustDown",
            &BattleState::downExchangeTimer,
            &BattleState::downLaneClear,
            &BattleState::downDustShown,
            &GameObject::walkDownLane};
}

static LaneRefs UpLane() {
    return {"AllieUp",
            "EnemyUp",
            "DustUp",
            &BattleState::upExchangeTimer,
            &BattleState::upLaneClear,
            &BattleState::upDustShown,
            &GameObject::walkUpLane};
}

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

static bool IsScanIgnored(const GameObject* object) {
    for (const char* name : SCAN_IGNORED_NAMES)
        if (object->name == name) return true;
    return false;
}

static bool InContact(const GameObject* a, const GameObject* b) {
    float dx = a->position[0] - b->position[0];
    float dy = a->position[1] - b->position[1];
    return dx * dx + dy * dy <= CONTACT_DISTANCE_SQUARED;
}

// Whether `winner`'s type beats `loser`'s (knight > spearman > horseman > knight).
static bool TypeBeats(int winner, int loser) {
    return (winner == TROOP_KNIGHT && loser == TROOP_SPEARMAN) ||
           (winner == TROOP_SPEARMAN && loser == TROOP_HORSEMAN) ||
           (winner == TROOP_HORSEMAN && loser == TROOP_KNIGHT);
}

// One exchange of blows between A and B by their type names.
static void ExchangeBlows(GameObject* a, GameObject* b) {
    int typeA = TroopTypeOfName(a->typeName), typeB = TroopTypeOfName(b->typeName);
    bool castleA = a->typeName == "Castle", castleB = b->typeName == "Castle";
    if (typeA >= 0 && typeB >= 0) {
        float lossA = b->damage, lossB = a->damage;
        if (TypeBeats(typeA, typeB)) lossB += MATCHUP_EXTRA_DAMAGE;
        if (TypeBeats(typeB, typeA)) lossA += MATCHUP_EXTRA_DAMAGE;
        a->health -= lossA;
        b->health -= lossB;
    } else if (typeA >= 0 && castleB) {
        b->health -= a->damage;
        a->health = 0;
        PlayBattleCue(CUE_CASTLE_HIT);
    } else if (castleA && typeB >= 0) {
        a->health -= b->damage;
        b->health = 0;
        PlayBattleCue(CUE_CASTLE_HIT);
    }
    for (GameObject* fighter : {a, b})
        if (fighter->health > 0 && fighter->healthBarFill && fighter->maxHealth > 0)
            fighter->healthBarFill->scale[0] =
                fighter->health / fighter->maxHealth * fighter->healthBarWidth;
}

// Death of fighter `dead` against `opponent` in a lane. A fighter already
// destroyed earlier in this frame (visited again by another pair) is not
// paid for again: a fighter is paid for once.
static void Die(GameObject* dead, GameObject* opponent, const LaneRefs& lane) {
    bool firstDeath = dead->alive != 0;
    if (firstDeath && dead->typeName == "Castle") {
        if (dead->name == "AllieDown") {
            std::puts("You lose");
            BattleState::battleLost = true;
        } else if (dead->name == "EnemyDown") {
            std::puts("You win");
            BattleState::battleWon = true;
        }
        std::fflush(stdout);
    }
    if (firstDeath && dead->name == lane.enemyName && opponent->typeName != "Castle") {
        BattleState::money += KILL_REWARD;
        AddKillCoin(dead->position[0], dead->position[1]);
    }
    if (dead->healthBarFill) {
        DestroyObject(dead->healthBarFill);
        DestroyObject(dead->healthBarFrame);
    }
    if (dead->swordMarker) DestroyObject(dead->swordMarker);
    DestroyObject(dead);
    *lane.laneClear = true;
    *lane.dustShown = false;
}

// Removes the lane's fight clouds. Every live cloud of the lane goes, also one
// added after the scan's copy was taken, so no stray cloud is left behind.
static void RemoveDust(const LaneRefs& lane) {
    for (GameObject* object : objectList)
        if (object && object->alive && object->name == lane.dustName) DestroyObject(object);
    BattleState::dustX = 0;
}

// The exchange step of a fighting pair (A, B) of a lane.
static void ExchangeStep(GameObject* a, GameObject* b, const LaneRefs& lane) {
    *lane.exchangeTimer -= 1;
    if (!*lane.dustShown) {
        GameObject* enemy = a->name == lane.enemyName ? a : b;
        BattleState::dustX = enemy->position[0] - 50;
        AddObject(new Dust(), lane.dustName, BattleState::dustX, b->position[1], 200, 200, PI_F,
                  squareMesh, battleAssets.fightCloud);
        *lane.dustShown = true;
        PlayBattleCue(CUE_CLASH); // the cloud marks the start of a fight
    }
    if (*lane.exchangeTimer <= 0) {
        ExchangeBlows(a, b);
        *lane.exchangeTimer = EXCHANGE_TICKS;
    }
    bool died = false;
    if (a->health <= 0) {
        Die(a, b, lane);
        died = true;
    }
    if (b->health <= 0) {
        Die(b, a, lane);
        died = true;
    }
    if (died) RemoveDust(lane);
}

// The lane of an object by its name, or null when it is in none.
static bool LaneOf(const GameObject* object, LaneRefs* lane) {
    if (object->name == "AllieDown" || object->name == "EnemyDown") {
        *lane = DownLane();
        return true;
    }
    if (object->name == "AllieUp" || object->name == "EnemyUp") {
        *lane = UpLane();
        return true;
    }
    return false;
}

// Sets the banner's picture from the crossings.
static void UpdateBanner() {
    BattleState* state = battle;
    if (state->alliedCrossings > state->enemyCrossings) {
        BattleState::playerHoldsBanner = true;
        BattleState::enemyHoldsBanner = false;
        if (state->banner) state->banner->texture = battleAssets.playerBanner;
    } else if (state->alliedCrossings < state->enemyCrossings) {
        BattleState::playerHoldsBanner = false;
        BattleState::enemyHoldsBanner = true;
        if (state->banner) state->banner->texture = battleAssets.enemyBanner;
    } else {
        BattleState::playerHoldsBanner = false;
        BattleState::enemyHoldsBanner = false;
        if (state->banner) state->banner->texture = battleAssets.bannerStandard;
    }
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// The engagement scan over a copy of the object list. The copy keeps only
// the objects the scan looks at (every object but the ignored kinds), so the
// pair walk stays cheap with hundreds of troops and their bars on the field.
void RunEngagementScan() {
    static std::vector<GameObject*> copy;
    copy.clear();
    for (GameObject* object : objectList)
        if (object && !IsScanIgnored(object)) copy.push_back(object);
    for (GameObject* a : copy) {
        LaneRefs lane;
        if (!LaneOf(a, &lane)) continue;
        for (GameObject* b : copy) {
            if (b == a) continue;
            if (InContact(a, b)) {
                a->*lane.walkFlag = 0;
                b->*lane.walkFlag = 0;
                bool enemyPair = (a->name == lane.allyName && b->name == lane.enemyName) ||
                                 (a->name == lane.enemyName && b->name == lane.allyName);
                if (enemyPair) {
                    *lane.laneClear = false;
                    ExchangeStep(a, b, lane);
                }
                if (*lane.laneClear) {
                    a->*lane.walkFlag = 1;
                    b->*lane.walkFlag = 1;
                }
            } else if (*lane.laneClear) {
                a->*lane.walkFlag = 1;
                b->*lane.walkFlag = 1;
            }
        }
    }
}

// Up-lane troops at the far edge score a crossing and vanish; then the banner.
void RunCrossingCheck() {
    std::vector<GameObject*> copy(objectList.begin(), objectList.end());
    for (GameObject* object : copy) {
        if (!object || !object->alive) continue;
        bool allyCrossed = object->name == "AllieUp" && object->position[0] >= CROSSING_X;
        bool enemyCrossed = object->name == "EnemyUp" && object->position[0] <= -CROSSING_X;
        if (!allyCrossed && !enemyCrossed) continue;
        DestroyObject(object->healthBarFill);
        DestroyObject(object->healthBarFrame);
        DestroyObject(object);
        if (allyCrossed)
            battle->alliedCrossings += 1;
        else
            battle->enemyCrossings += 1;
    }
    UpdateBanner();
}
