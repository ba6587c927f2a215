// Game objects and sprites: the base types every screen is built from, the one
// global object list (update and draw order) with deferred deletion, the
// shared square mesh and draw scale, and the cursor hit test.
// Depends on the graphics device, meshes, textures and animations.
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "engine/graphics/device.h"

struct Mesh;
struct Texture;
struct Animation;

// Rotation π as the screens write it (most pictures are drawn turned by π).
constexpr float PI_F = 3.14159265358979323846f;
constexpr float CURSOR_ROTATION = 1.2f * PI_F;

struct GameObject {
    std::string name;
    uint8_t active = 0;
    uint8_t alive = 0;
    uint8_t visible = 0;
    float position[2] = {0, 0};
    float scale[2] = {1, 1};
    float rotation = 0;
    Mesh* mesh = nullptr;
    Texture* texture = nullptr;
    uint8_t useTint = 0;
    uint32_t tintColor = 0xFFFFFFFF;
    // Battle fields, set by the battle classes' Init.
    float health = 0;
    float maxHealth = 0;
    float damage = 0;
    float speed = 0;
    std::string typeName;
    uint8_t walkUpLane = 0;
    uint8_t walkDownLane = 0;
    GameObject* swordMarker = nullptr;
    GameObject* healthBarFill = nullptr;
    GameObject* healthBarFrame = nullptr;
    float healthBarWidth = 0;

    virtual ~GameObject() = default;
    virtual void Init() {}
    virtual void Hook() {}
    virtual void Update() {}
    virtual void Draw();
};

struct Sprite : GameObject {
    Animation* animation = nullptr;
    uint32_t frame = 0;
    float animTime = 0;
    float playSpeed = 1.0f;
    uint8_t loop = 1;
    uint8_t playing = 0;
    uint8_t ended = 0;
    Matrix3 textureMatrix = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

    void Draw() override;
    // Advances the animation by one frame time (called by Draw).
    void Advance();
};

extern std::list<GameObject*> objectList;
extern std::list<GameObject*> destroyQueue;
extern Mesh* squareMesh;
// The layout every screen is designed for (units, origin at the centre, y up),
// and its full-screen backdrop (the negative width mirrors the picture the
// right way round).
constexpr float DESIGN_WIDTH = 1280.0f, DESIGN_HEIGHT = 720.0f;
constexpr float BACKDROP_WIDTH = -DESIGN_WIDTH, BACKDROP_HEIGHT = DESIGN_HEIGHT;

extern float drawScale;
// True once UpdateDrawScale has divided this frame's cursor by drawScale.
// UpdateDrawScale sets it; UpdateInput (app/input.cpp) clears it whenever it
// recomputes cursorWorldX/Y in world units, so the division happens once per
// frame however many times UpdateDrawScale is called.
extern bool cursorInDesignUnits;

// Sets the fields, makes the object active, alive and visible, appends it to
// objectList, then runs its Init. Null gives null and lists nothing.
GameObject* AddObject(GameObject* object, const char* name, float x, float y, float sx, float sy,
                      float rotation, Mesh* mesh, Texture* texture);
// Short form: at (0, 0), size 1, no rotation, mesh or texture.
GameObject* AddObject(GameObject* object, const char* name);
// Marks a live object dead and queues it once; it stays listed (and skipped)
// until the next flush.
void DestroyObject(GameObject* object);
// Deletes the queued objects, last queued first, and removes their nodes.
// Called during an update or draw walk it waits for the next flush.
void FlushDestroyed();
// A screen's Free: flushes, then queues every live object and empties the list.
void FreeAllObjects();
// Flushes, then updates live, active objects in list order; objects appended
// during the walk are updated in the same pass.
void UpdateAllObjects();
// Draws live, visible objects in list order (later ones on top).
void DrawAllObjects();
// Starts a sprite on a loaded animation at frame 0 with the sheet's picture;
// null leaves the sprite as it was (it keeps its still picture).
void SetAnimation(Sprite* sprite, Animation* animation);
// Points the sprite's texture matrix at its current frame's cell.
void UpdateFrameMatrix(Sprite* sprite);
// The one hit test of buttons and panels, in design units.
bool IsCursorOver(const GameObject* object);
// The left mouse button went down in this frame with the cursor over the object.
bool IsClickedOver(const GameObject* object);
// Sets drawScale to min(client width / 1280, client height / 720) and turns
// cursorWorldX and cursorWorldY into design units (divided by drawScale), so
// drawing and clicks share one scale in every window size and in full screen.
// Every screen calls it at the start of its Update; a second call in the same
// frame changes nothing.
void UpdateDrawScale();
// Number of objects in objectList (tests, soak runs).
int ObjectCount();
