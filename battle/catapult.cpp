// Catapult and rocks: unlocking for 300, the cooldown (10 s after the
// purchase, 30 s after each throw) and the rock's fixed arc onto the enemy
// castle for 30 damage. Depends on the battle record, its assets, input,
// the object list and the battle's effect cues.
#include "battle/catapult.h"

#include "app/game_state.h"
#include "app/input.h"
#include "battle/battle_cues.h"
#include "battle/battle_objects.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

static const float FIRST_ROCK_SECONDS = 10;
static const float ROCK_SECONDS = 30;
static const float ROCK_DAMAGE = 30;
static const float ROCK_STEP = 10;
static const float ROCK_IMPACT_X = 630;

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// The catapult step (every unpaused frame, after the upgrade step).
void RunCatapultStep() {
    BattleState* state = battle;
    // Only a click that unlocks or throws answers with the button click.
    bool clicked = IsClickedOver(state->cannonButton);
    if (state->catapultState == 0) {
        if (clicked && BattleState::money >= CATAPULT_PRICE) {
            PlayButtonClick();
            BattleState::money -= CATAPULT_PRICE;
            state->catapultState = 1;
            state->catapultJustUnlocked = true;
        }
        if (state->catapultState == 0) return;
    }
    if (state->lockPicture) state->lockPicture->visible = 0;
    if (state->catapultJustUnlocked) {
        state->catapultJustUnlocked = false;
        state->catapultCooldown = FIRST_ROCK_SECONDS;
        AddObject(new GameObject(), "Catapult", -620, -90, -180, 180, PI_F, squareMesh,
                  battleAssets.catapult);
    }
    if (clicked && state->catapultCooldown <= 0) {
        PlayButtonClick();
        AddObject(new Rock(), "Rock", -600, -80, 70, 70, PI_F, squareMesh, battleAssets.rock);
        PlayBattleCue(CUE_CATAPULT_THROW);
        state->catapultCooldown = ROCK_SECONDS;
    }
    if (state->catapultCooldown >= 0) state->catapultCooldown -= static_cast<float>(frameTime);
    if (state->catapultCooldown <= 0) state->catapultCooldown = 0;
}

// ---------------------------------------------------------------------------
// Rock
// ---------------------------------------------------------------------------

void Rock::Init() {
    mesh = squareMesh;
    rotation = PI_F;
}

// Up the arc while left of the centre, down after it; at the enemy castle's x
// the rock strikes it and vanishes. A castle that has fallen is not struck:
// the rock lands on nothing, without a sound.
void Rock::Update() {
    if (BattleState::paused) return;
    if (position[0] <= 0) {
        position[0] += ROCK_STEP;
        position[1] += ROCK_STEP;
    }
    if (position[0] > 0) {
        position[0] += ROCK_STEP;
        position[1] -= ROCK_STEP;
    }
    if (position[0] < ROCK_IMPACT_X) return;
    for (GameObject* object : objectList) {
        if (!object || !object->alive || object->typeName != "Castle" ||
            object->name != "EnemyDown")
            continue;
        if (object->health <= 0) break;
        PlayBattleCue(CUE_ROCK_IMPACT);
        object->health -= ROCK_DAMAGE;
        if (object->healthBarFill && object->maxHealth > 0)
            object->healthBarFill->scale[0] =
                object->health / object->maxHealth * object->healthBarWidth;
        break;
    }
    DestroyObject(this);
}
