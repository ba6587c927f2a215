// Game objects and sprites: drawing an object on its mesh, advancing and
// drawing sprite-sheet animations, the one global object list with its destroy
// queue (deferred deletion), the draw scale shared by drawing and the cursor,
// and the cursor hit test.
// Depends on the graphics device (render globals, matrices), meshes, the
// platform's client size, input (the cursor) and the frame time.
#include "objects/game_object.h"

#include <algorithm>

#include "app/game_state.h"
#include "app/input.h"
#include "engine/graphics/device.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/scene.h"
#include "engine/platform/platform.h"
#include "objects/animation.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

std::list<GameObject*> objectList;
std::list<GameObject*> destroyQueue;
Mesh* squareMesh = nullptr;
float drawScale = 1.0f;
bool cursorInDesignUnits = false;

// Depth of the update and draw walks in progress. While a walk runs, nothing
// is deleted and no node is removed, so the walk's position stays valid and an
// object is never deleted inside its own Update or Draw.
static int walkDepth = 0;
// FreeAllObjects was called during a walk: its nodes go when the walk ends.
static bool clearAfterWalk = false;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Number of frames an animation can really show (never more than it has durations).
static uint32_t PlayableFrames(const Animation* animation) {
    return std::min<uint32_t>(animation->frameCount,
                              static_cast<uint32_t>(animation->frameDurations.size()));
}

// Ends a walk; a FreeAllObjects made during it now drops its nodes.
static void EndWalk() {
    --walkDepth;
    if (walkDepth == 0 && clearAfterWalk) {
        clearAfterWalk = false;
        // Everything listed at that call was queued; objects added after it stay.
        objectList.remove_if(
            [](GameObject* object) { return object == nullptr || !object->alive; });
    }
}

// The object's model matrix in world units: T · R · S at the draw scale (one
// scale for every window size, full screen included).
static Matrix3 ModelMatrix(const GameObject* object) {
    const float s = drawScale;
    Matrix3 model = Matrix3Translation(object->position[0] * s, object->position[1] * s);
    Matrix3Concat(model, model, Matrix3Rotation(object->rotation));
    Matrix3Concat(model, model, Matrix3Scale(object->scale[0] * s, object->scale[1] * s));
    return model;
}

// Cursor objects ("Cursor", "CursorPause", ...) stay visible over the bars
// beside the scene.
static bool IsCursorObject(const GameObject* object) {
    return object->name.rfind("Cursor", 0) == 0;
}

// The last object whose opaque picture covers the whole scene: what is drawn
// before it cannot be seen (null when there is none).
static GameObject* LastCoveringObject() {
    for (auto node = objectList.rbegin(); node != objectList.rend(); ++node) {
        GameObject* object = *node;
        if (object == nullptr || !object->alive || !object->visible || IsCursorObject(object))
            continue;
        if (CoversVisibleScene(object->mesh, object->texture, object->useTint != 0,
                               object->tintColor, ModelMatrix(object)))
            return object;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// GameObject and Sprite
// ---------------------------------------------------------------------------

// Draws the object's mesh with its texture and tint at its place in the layout.
void GameObject::Draw() {
    if (mesh == nullptr) return;
    // A null texture keeps whatever is bound (the device rule).
    if (texture != nullptr) boundTexture = texture;
    ::useTint = useTint != 0;
    SetTintColor(tintColor);
    SetTransform(ModelMatrix(this));
    const bool cursor = IsCursorObject(this);
    if (cursor) SetSceneClipLifted(true);
    DrawMesh(mesh);
    if (cursor) SetSceneClipLifted(false);
}

// Advances the animation by the frame time: at most one frame per call.
void Sprite::Advance() {
    // No time passed (a frame drawn again): nothing moves, `ended` stays.
    if (!playing || animation == nullptr || frameTime <= 0) return;
    const uint32_t count = PlayableFrames(animation);
    if (count == 0) return;
    // A stopped one-shot animation played again starts over from its first frame.
    if (frame >= count) {
        frame = 0;
        animTime = 0;
        UpdateFrameMatrix(this);
    }

    ended = 0;
    animTime += static_cast<float>(frameTime) * playSpeed;
    if (animTime < animation->frameDurations[frame]) return;

    ++frame;
    if (frame < count) {
        UpdateFrameMatrix(this);
        // The duration of the frame just entered is taken off, as the game's
        // timings were tuned with.
        animTime -= animation->frameDurations[frame];
    } else if (loop) {
        ended = 1;
        frame = 0;
        UpdateFrameMatrix(this);
        animTime -= animation->frameDurations[0];
    } else {
        // Stops on the last frame: frame stays at the count, the cell stays.
        playing = 0;
        ended = 1;
    }
}

// Advances the animation, then draws the current cell (or the whole picture
// without an animation); the texture transform is identity again afterwards.
void Sprite::Draw() {
    Advance();
    if (animation != nullptr)
        textureTransform = textureMatrix;
    else
        Matrix3Identity(textureTransform);
    GameObject::Draw();
    Matrix3Identity(textureTransform);
}

// ---------------------------------------------------------------------------
// The object list
// ---------------------------------------------------------------------------

// Sets the object's fields and flags, appends it to the list, then runs its Init.
GameObject* AddObject(GameObject* object, const char* name, float x, float y, float sx, float sy,
                      float rotation, Mesh* mesh, Texture* texture) {
    if (object == nullptr) return nullptr;
    object->name = name != nullptr ? name : "";
    object->position[0] = x;
    object->position[1] = y;
    object->scale[0] = sx;
    object->scale[1] = sy;
    object->rotation = rotation;
    object->mesh = mesh;
    object->texture = texture;
    object->active = 1;
    object->alive = 1;
    object->visible = 1;
    objectList.push_back(object);
    object->Init();
    return object;
}

// Short form: at the origin, size 1, no rotation, no mesh, no texture.
GameObject* AddObject(GameObject* object, const char* name) {
    return AddObject(object, name, 0, 0, 1, 1, 0, nullptr, nullptr);
}

// Marks a live object dead and queues it once for deletion.
void DestroyObject(GameObject* object) {
    if (object == nullptr || !object->alive) return;
    object->alive = 0;
    destroyQueue.push_back(object);
}

// Deletes the queued objects, last queued first, and drops their list nodes.
void FlushDestroyed() {
    if (walkDepth > 0) return; // the next flush outside the walk does it
    while (!destroyQueue.empty()) {
        GameObject* object = destroyQueue.back();
        // Taken off the queue before the destructor runs, so that a destructor
        // that destroys another object cannot make this entry go twice.
        destroyQueue.pop_back();
        if (object == nullptr) continue;
        destroyQueue.remove(object);
        objectList.remove(object);
        delete object;
    }
}

// Deletes what is queued, then queues every live object and empties the list.
void FreeAllObjects() {
    FlushDestroyed();
    for (GameObject* object : objectList) {
        if (object != nullptr && object->alive) {
            object->alive = 0;
            destroyQueue.push_back(object);
        }
    }
    if (walkDepth > 0)
        clearAfterWalk = true;
    else
        objectList.clear();
}

// Deletes what is queued, then updates every live, active object in list
// order; objects appended during the walk are updated in the same pass.
void UpdateAllObjects() {
    FlushDestroyed();
    ++walkDepth;
    for (auto node = objectList.begin(); node != objectList.end(); ++node) {
        GameObject* object = *node;
        if (object != nullptr && object->alive && object->active) object->Update();
    }
    EndWalk();
}

// Draws every live, visible object in list order (later ones on top). The
// objects under the last one that covers the whole scene still run their
// Draw (animations advance) but send nothing to the GPU.
void DrawAllObjects() {
    GameObject* cover = LastCoveringObject();
    SetDrawsHidden(cover != nullptr);
    ++walkDepth;
    for (auto node = objectList.begin(); node != objectList.end(); ++node) {
        GameObject* object = *node;
        if (object == cover) SetDrawsHidden(false);
        if (object != nullptr && object->alive && object->visible) object->Draw();
    }
    EndWalk();
    SetDrawsHidden(false);
}

int ObjectCount() {
    return static_cast<int>(objectList.size());
}

// ---------------------------------------------------------------------------
// Sprites
// ---------------------------------------------------------------------------

// Starts the sprite on a loaded animation at its first frame. A null animation
// (a file that failed to load) leaves the sprite exactly as it was.
void SetAnimation(Sprite* sprite, Animation* animation) {
    if (sprite == nullptr || animation == nullptr) return;
    sprite->animation = animation;
    sprite->frame = 0;
    UpdateFrameMatrix(sprite);
    sprite->animTime = 0;
    sprite->texture = animation->texture;
}

// Points the texture matrix at the current frame's cell: frames run left to
// right along a row, then on to the next row.
void UpdateFrameMatrix(Sprite* sprite) {
    if (sprite == nullptr) return;
    const Animation* animation = sprite->animation;
    if (animation == nullptr || animation->columns == 0 || animation->rows == 0) {
        Matrix3Identity(sprite->textureMatrix);
        return;
    }
    const float c = static_cast<float>(animation->columns);
    const float r = static_cast<float>(animation->rows);
    const uint32_t column = sprite->frame % animation->columns;
    const uint32_t row = sprite->frame / animation->columns;
    Matrix3 cell = Matrix3Translation(static_cast<float>(column) / c, static_cast<float>(row) / r);
    Matrix3Concat(sprite->textureMatrix, cell, Matrix3Scale(1.0f / c, 1.0f / r));
}

// ---------------------------------------------------------------------------
// Draw scale and cursor
// ---------------------------------------------------------------------------

// True when the cursor (design units) lies on the object, edges included; a
// negative width or height is never hit.
bool IsCursorOver(const GameObject* object) {
    if (object == nullptr) return false;
    const float halfWidth = object->scale[0] * 0.5f;
    const float halfHeight = object->scale[1] * 0.5f;
    const float x = object->position[0];
    const float y = object->position[1];
    return x - halfWidth <= cursorWorldX && cursorWorldX <= x + halfWidth &&
           y - halfHeight <= cursorWorldY && cursorWorldY <= y + halfHeight;
}

// The left button went down this frame over the object (a pure query).
bool IsClickedOver(const GameObject* object) {
    return object && IsButtonPressed(MOUSE_LEFT) && IsCursorOver(object);
}

// One scale for drawing and clicks: the largest that fits the 1280 by 720
// layout into the client area; the cursor is turned into layout units once per
// frame (UpdateInput clears cursorInDesignUnits when it recomputes it).
void UpdateDrawScale() {
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    // A minimised window has no size: keep the last scale.
    if (width > 0 && height > 0)
        drawScale = std::min(static_cast<float>(width) / DESIGN_WIDTH,
                             static_cast<float>(height) / DESIGN_HEIGHT);
    if (!cursorInDesignUnits) {
        cursorWorldX /= drawScale;
        cursorWorldY /= drawScale;
        cursorInDesignUnits = true;
    }
}
