// Game objects: the object list's life cycle (append, deferred deletion, walks
// that destroy and append), sprite animation played frame by frame, the cursor
// hit test, and what a player sees: pictures made as the screens make them
// drawn upright, the frame-to-cell mapping on screen, and clicks that land on
// the drawn pixels in windows of several shapes (full screen at several
// display sizes is engine_draw_scale_test's).
// Depends on the object list, animations, the graphics device and the harness.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/window.h"
#include "engine/graphics/device.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "harness/harness.h"
#include "objects/animation.h"
#include "objects/game_object.h"

// ---------------------------------------------------------------------------
// Probe objects
// ---------------------------------------------------------------------------

// Every Init, Update and deletion of a probe, in order ("init A", "update A", "delete A").
static std::vector<std::string> events;

// An object that records its life and runs a test's action in its Update.
struct Probe : GameObject {
    std::function<void(Probe*)> onUpdate;
    std::function<void()> onDelete;
    int updates = 0;
    bool listedAtInit = false;

    ~Probe() override {
        events.push_back("delete " + name);
        if (onDelete) onDelete();
    }
    void Init() override {
        listedAtInit = !objectList.empty() && objectList.back() == this && alive && active;
        events.push_back("init " + name);
    }
    void Update() override {
        ++updates;
        events.push_back("update " + name);
        if (onUpdate) onUpdate(this);
    }
};

static Probe* AddProbe(const char* name) {
    return static_cast<Probe*>(AddObject(new Probe, name));
}

static int CountEvents(const std::string& event) {
    int count = 0;
    for (const std::string& e : events)
        count += e == event;
    return count;
}

class ObjectList : public ::testing::Test {
  protected:
    void SetUp() override {
        FreeAllObjects();
        FlushDestroyed();
        events.clear();
    }
    void TearDown() override {
        FreeAllObjects();
        FlushDestroyed();
    }
};

// ---------------------------------------------------------------------------
// The object list
// ---------------------------------------------------------------------------

TEST_F(ObjectList, AddObjectSetsFieldsAndFlagsAppendsThenRunsInit) {
    Probe* first = AddProbe("First");
    Probe* probe = new Probe;
    Texture* fakeTexture = reinterpret_cast<Texture*>(0x10);
    ASSERT_EQ(AddObject(probe, "Button", 10, -20, 30, 40, PI_F, nullptr, fakeTexture), probe);
    EXPECT_EQ(probe->name, "Button");
    EXPECT_EQ(probe->position[0], 10);
    EXPECT_EQ(probe->position[1], -20);
    EXPECT_EQ(probe->scale[0], 30);
    EXPECT_EQ(probe->scale[1], 40);
    EXPECT_EQ(probe->rotation, PI_F);
    EXPECT_EQ(probe->texture, fakeTexture);
    EXPECT_EQ(probe->active + probe->alive + probe->visible, 3);
    EXPECT_TRUE(probe->listedAtInit); // appended before Init, flags already set
    EXPECT_EQ(objectList.front(), first);
    EXPECT_EQ(objectList.back(), probe);
    EXPECT_EQ(ObjectCount(), 2);

    // The short form: origin, size 1, no rotation, mesh or texture.
    EXPECT_EQ(first->position[0] + first->position[1] + first->rotation, 0);
    EXPECT_EQ(first->scale[0] * first->scale[1], 1);
    EXPECT_EQ(first->mesh, nullptr);
    EXPECT_EQ(first->texture, nullptr);

    EXPECT_EQ(AddObject(nullptr, "Nothing"), nullptr);
    EXPECT_EQ(ObjectCount(), 2);
}

TEST_F(ObjectList, DestroyedDuringTheWalkIsSkippedThenDeletedAtTheNextUpdate) {
    Probe* a = AddProbe("A");
    Probe* b = AddProbe("B");
    Probe* c = AddProbe("C");
    a->onUpdate = [b](Probe*) { DestroyObject(b); };
    UpdateAllObjects();
    EXPECT_EQ(a->updates, 1);
    EXPECT_EQ(b->updates, 0);
    EXPECT_EQ(c->updates, 1);
    EXPECT_EQ(CountEvents("delete B"), 0); // still allocated, still listed
    EXPECT_EQ(ObjectCount(), 3);

    a->onUpdate = nullptr;
    UpdateAllObjects();
    EXPECT_EQ(CountEvents("delete B"), 1);
    EXPECT_EQ(ObjectCount(), 2);
    // Deleted at the start of the update, before anything else runs.
    EXPECT_EQ(events[events.size() - 3], "delete B");
    EXPECT_EQ(a->updates + c->updates, 4);
}

TEST_F(ObjectList, DestroyedTwiceIsQueuedOnceAndDeletedOnce) {
    Probe* a = AddProbe("A");
    DestroyObject(a);
    DestroyObject(a);
    DestroyObject(nullptr);
    EXPECT_EQ(destroyQueue.size(), 1u);
    UpdateAllObjects();
    UpdateAllObjects();
    EXPECT_EQ(CountEvents("delete A"), 1);
    EXPECT_EQ(ObjectCount(), 0);
}

TEST_F(ObjectList, FlushDeletesInReverseOrderAndDropsEveryNodeOfThePointer) {
    Probe* a = AddProbe("A");
    Probe* b = AddProbe("B");
    Probe* c = AddProbe("C");
    Probe* keep = AddProbe("Keep");
    objectList.push_back(b); // listed twice
    DestroyObject(a);
    DestroyObject(c);
    DestroyObject(b);
    FlushDestroyed();
    EXPECT_EQ(events, (std::vector<std::string>{"init A", "init B", "init C", "init Keep",
                                                "delete B", "delete C", "delete A"}));
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(objectList.front(), keep);
    EXPECT_TRUE(destroyQueue.empty());
}

TEST_F(ObjectList, AppendedDuringTheWalkIsInitialisedAndUpdatedInTheSamePass) {
    Probe* spawned = nullptr;
    Probe* a = AddProbe("A");
    a->onUpdate = [&spawned](Probe*) {
        if (spawned == nullptr) spawned = AddProbe("Spawned");
    };
    AddProbe("B");
    UpdateAllObjects();
    ASSERT_NE(spawned, nullptr);
    EXPECT_EQ(spawned->updates, 1);
    EXPECT_EQ(events, (std::vector<std::string>{"init A", "init B", "update A", "init Spawned",
                                                "update B", "update Spawned"}));
}

TEST_F(ObjectList, AppendedAndDestroyedInTheSameWalkIsNeverUpdated) {
    Probe* a = AddProbe("A");
    a->onUpdate = [](Probe* self) {
        if (self->updates == 1) DestroyObject(AddProbe("Brief"));
    };
    UpdateAllObjects();
    UpdateAllObjects();
    EXPECT_EQ(CountEvents("update Brief"), 0);
    EXPECT_EQ(CountEvents("delete Brief"), 1);
}

TEST_F(ObjectList, InactiveObjectsAreNotUpdatedAndInvisibleOnesNotDrawn) {
    struct DrawCounter : GameObject {
        int draws = 0;
        void Draw() override { ++draws; }
    };
    Probe* idle = AddProbe("Idle");
    idle->active = 0;
    auto* hidden = static_cast<DrawCounter*>(AddObject(new DrawCounter, "Hidden"));
    auto* shown = static_cast<DrawCounter*>(AddObject(new DrawCounter, "Shown"));
    auto* dead = static_cast<DrawCounter*>(AddObject(new DrawCounter, "Dead"));
    hidden->visible = 0;
    UpdateAllObjects();
    DestroyObject(dead);
    DrawAllObjects();
    EXPECT_EQ(idle->updates, 0);
    EXPECT_EQ(hidden->draws, 0);
    EXPECT_EQ(shown->draws, 1);
    EXPECT_EQ(dead->draws, 0);
}

TEST_F(ObjectList, FreeAllObjectsQueuesEveryObjectAndDeletesAtTheNextFlush) {
    Probe* a = AddProbe("A");
    AddProbe("B");
    Probe* early = AddProbe("Early");
    DestroyObject(early);
    FreeAllObjects();
    EXPECT_EQ(CountEvents("delete Early"), 1); // the queue is flushed first
    EXPECT_EQ(ObjectCount(), 0);
    EXPECT_EQ(a->alive, 0);
    EXPECT_EQ(destroyQueue.size(), 2u);
    EXPECT_EQ(CountEvents("delete A"), 0); // still allocated until the next flush

    UpdateAllObjects();
    EXPECT_EQ(CountEvents("delete A") + CountEvents("delete B"), 2);
    EXPECT_TRUE(destroyQueue.empty());

    // On an empty list it only flushes the queue.
    FreeAllObjects();
    EXPECT_TRUE(destroyQueue.empty());
    EXPECT_EQ(ObjectCount(), 0);
}

TEST_F(ObjectList, ADestructorThatDestroysAnotherObjectDeletesEachOnce) {
    Probe* owner = AddProbe("Owner");
    Probe* marker = AddProbe("Marker");
    owner->onDelete = [marker]() { DestroyObject(marker); };
    DestroyObject(owner);
    FlushDestroyed();
    EXPECT_EQ(CountEvents("delete Owner"), 1);
    EXPECT_EQ(CountEvents("delete Marker"), 1);
    EXPECT_EQ(ObjectCount(), 0);
}

TEST_F(ObjectList, NothingIsDeletedWhileAWalkRuns) {
    // An object that ends itself and the screen in its own Update is still
    // whole until the walk is over.
    Probe* a = AddProbe("A");
    AddProbe("B");
    a->onUpdate = [](Probe* self) {
        DestroyObject(self);
        FlushDestroyed();
        EXPECT_EQ(CountEvents("delete A"), 0);
        FreeAllObjects();
        EXPECT_EQ(self->name, "A");
        AddProbe("AfterFree");
    };
    UpdateAllObjects();
    EXPECT_EQ(CountEvents("update B"), 0);
    EXPECT_EQ(CountEvents("update AfterFree"), 1);
    ASSERT_EQ(ObjectCount(), 1); // only the object added after the free
    EXPECT_EQ(objectList.front()->name, "AfterFree");
    UpdateAllObjects();
    EXPECT_EQ(CountEvents("delete A") + CountEvents("delete B"), 2);
}

// ---------------------------------------------------------------------------
// Sprites (no picture needed: the list draws them, the mesh is absent)
// ---------------------------------------------------------------------------

class Sprites : public ObjectList {
  protected:
    // Three frames on a 2 by 2 grid; durations exact in binary.
    Animation sheet;
    Sprite* sprite = nullptr;

    void SetUp() override {
        ObjectList::SetUp();
        sheet.frameCount = 3;
        sheet.rows = 2;
        sheet.columns = 2;
        sheet.frameDurations = {0.5f, 0.25f, 0.5f};
        sprite = static_cast<Sprite*>(AddObject(new Sprite, "Anim"));
        SetAnimation(sprite, &sheet);
        sprite->playing = 1;
        frameTime = 1.0 / 60.0;
    }
    // One frame of a screen: update and draw the list with this frame time.
    void Frame(double seconds) {
        frameTime = seconds;
        UpdateAllObjects();
        DrawAllObjects();
    }
};

// The cell a texture matrix points at, as (column, row).
static std::pair<float, float> CellOf(const Matrix3& m, const Animation& a) {
    return {m.m[0][2] * a.columns, m.m[1][2] * a.rows};
}

TEST_F(Sprites, FramesMapToCellsRowByRow) {
    Animation grid;
    grid.frameCount = 6;
    grid.rows = 2;
    grid.columns = 3;
    grid.frameDurations.assign(6, 1.0f);
    SetAnimation(sprite, &grid);
    const float expected[6][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
    for (uint32_t frame = 0; frame < 6; ++frame) {
        sprite->frame = frame;
        UpdateFrameMatrix(sprite);
        const Matrix3& m = sprite->textureMatrix;
        EXPECT_FLOAT_EQ(m.m[0][0], 1.0f / 3);
        EXPECT_FLOAT_EQ(m.m[1][1], 0.5f);
        EXPECT_FLOAT_EQ(m.m[0][2], expected[frame][0] / 3) << "frame " << frame;
        EXPECT_FLOAT_EQ(m.m[1][2], expected[frame][1] / 2) << "frame " << frame;
    }
}

TEST_F(Sprites, SetAnimationStartsAtTheFirstCellWithTheSheetsPicture) {
    Texture* picture = reinterpret_cast<Texture*>(0x20);
    sheet.texture = picture;
    sprite->frame = 2;
    sprite->animTime = 0.3f;
    sprite->loop = 0;
    SetAnimation(sprite, &sheet);
    EXPECT_EQ(sprite->frame, 0u);
    EXPECT_EQ(sprite->animTime, 0);
    EXPECT_EQ(sprite->texture, picture);
    EXPECT_EQ(CellOf(sprite->textureMatrix, sheet), std::make_pair(0.0f, 0.0f));
    EXPECT_EQ(sprite->loop, 0); // playing and loop are the caller's
    EXPECT_EQ(sprite->playing, 1);
}

TEST_F(Sprites, SetAnimationWithNoAnimationKeepsTheStillPicture) {
    Sprite* still = static_cast<Sprite*>(AddObject(new Sprite, "Still"));
    Texture* picture = reinterpret_cast<Texture*>(0x30);
    still->texture = picture;
    still->playing = 1;
    SetAnimation(still, nullptr);
    EXPECT_EQ(still->texture, picture);
    EXPECT_EQ(still->animation, nullptr);
    Frame(10.0); // drawing it advances nothing and reads nothing
    EXPECT_EQ(still->frame, 0u);
    EXPECT_EQ(still->texture, picture);
}

TEST_F(Sprites, FrameDurationsPaceTheAnimation) {
    // 0.125 s frames: the first frame (0.5 s) shows for four draws.
    for (int draw = 1; draw <= 3; ++draw) {
        Frame(0.125);
        EXPECT_EQ(sprite->frame, 0u) << "draw " << draw;
    }
    Frame(0.125);
    EXPECT_EQ(sprite->frame, 1u);
    // At double speed a 0.5 s frame lasts two draws of 0.125 s.
    SetAnimation(sprite, &sheet);
    sprite->playSpeed = 2.0f;
    Frame(0.125);
    EXPECT_EQ(sprite->frame, 0u);
    Frame(0.125);
    EXPECT_EQ(sprite->frame, 1u);
}

TEST_F(Sprites, AtMostOneFramePerDrawAndLoopingSetsEndedForOneDraw) {
    const std::vector<uint32_t> frames = {1, 2, 0, 1, 2, 0};
    const std::vector<uint8_t> ended = {0, 0, 1, 0, 0, 1};
    for (size_t draw = 0; draw < frames.size(); ++draw) {
        Frame(100.0); // far longer than any duration
        EXPECT_EQ(sprite->frame, frames[draw]) << "draw " << draw;
        EXPECT_EQ(sprite->ended, ended[draw]) << "draw " << draw;
        EXPECT_EQ(CellOf(sprite->textureMatrix, sheet).first, float(frames[draw] % 2));
    }
    EXPECT_EQ(sprite->playing, 1);
}

TEST_F(Sprites, NonLoopingStopsOnItsLastCellAndStaysEnded) {
    sprite->loop = 0;
    Frame(100.0);
    Frame(100.0);
    EXPECT_EQ(sprite->frame, 2u);
    EXPECT_EQ(sprite->ended, 0);
    Frame(100.0);
    EXPECT_EQ(sprite->playing, 0);
    EXPECT_EQ(sprite->ended, 1);
    EXPECT_EQ(sprite->frame, 3u); // one past the last frame
    EXPECT_EQ(CellOf(sprite->textureMatrix, sheet), std::make_pair(0.0f, 1.0f)); // frame 2's cell
    for (int draw = 0; draw < 5; ++draw)
        Frame(100.0);
    EXPECT_EQ(sprite->ended, 1);
    EXPECT_EQ(sprite->frame, 3u);
}

TEST_F(Sprites, PlayingAStoppedOneShotAgainRestartsFromTheFirstFrame) {
    sprite->loop = 0;
    for (int draw = 0; draw < 3; ++draw)
        Frame(100.0);
    ASSERT_EQ(sprite->playing, 0);
    sprite->playing = 1;
    Frame(0.125);
    EXPECT_EQ(sprite->frame, 0u);
    EXPECT_EQ(sprite->ended, 0);
    EXPECT_EQ(CellOf(sprite->textureMatrix, sheet), std::make_pair(0.0f, 0.0f));
    for (int draw = 0; draw < 3; ++draw)
        Frame(100.0);
    EXPECT_EQ(sprite->ended, 1); // and plays through to its end once more

    // However far past the end the frame index is, nothing past the durations is read.
    sprite->frame = 1000;
    sprite->playing = 1;
    Frame(100.0);
    EXPECT_EQ(sprite->frame, 1u);
}

TEST_F(Sprites, InvisibleAndDeadSpritesDoNotAdvance) {
    sprite->visible = 0;
    for (int draw = 0; draw < 4; ++draw)
        Frame(100.0);
    EXPECT_EQ(sprite->frame, 0u);
    sprite->visible = 1;
    Frame(100.0);
    EXPECT_EQ(sprite->frame, 1u);
    sprite->playing = 0;
    Frame(100.0);
    EXPECT_EQ(sprite->frame, 1u); // a paused sprite keeps its frame
    sprite->playing = 1;
    DestroyObject(sprite);
    DrawAllObjects();
    EXPECT_EQ(sprite->frame, 1u);
}

TEST_F(Sprites, TheTextureTransformIsIdentityAfterEveryDraw) {
    sprite->frame = 2;
    UpdateFrameMatrix(sprite);
    Frame(0.01);
    Matrix3 identity;
    Matrix3Identity(identity);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(textureTransform.m[i][j], identity.m[i][j]);
}

// ---------------------------------------------------------------------------
// The cursor hit test
// ---------------------------------------------------------------------------

TEST(CursorHitTest, EdgesAreInsideAndNegativeSizesAreNeverHit) {
    GameObject button;
    button.position[0] = 10;
    button.position[1] = 20;
    button.scale[0] = 100;
    button.scale[1] = 50;
    struct Point {
        float x, y;
        bool over;
    };
    const Point points[] = {{10, 20, true},       {-40, -5, true},     {60, 45, true},
                            {-40, 45, true},      {60, -5, true},      {60.01f, 20, false},
                            {-40.01f, 20, false}, {10, 45.01f, false}, {10, -5.01f, false}};
    for (const Point& p : points) {
        cursorWorldX = p.x;
        cursorWorldY = p.y;
        EXPECT_EQ(IsCursorOver(&button), p.over) << p.x << ", " << p.y;
    }
    cursorWorldX = 10;
    cursorWorldY = 20;
    button.scale[0] = -100; // a full-screen picture's mirrored width
    EXPECT_FALSE(IsCursorOver(&button));
    button.scale[0] = 100;
    button.scale[1] = -50;
    EXPECT_FALSE(IsCursorOver(&button));
    EXPECT_FALSE(IsCursorOver(nullptr));
}

// ---------------------------------------------------------------------------
// Pictures on screen (real window, real frames)
// ---------------------------------------------------------------------------

// A screen of the test's own: its Update does what every screen does first
// (one draw scale, cursor in layout units) and notes the hit test; its Draw
// draws the list.
static GameObject* hitTarget = nullptr;
static bool cursorOverTarget = false;
static void NoStep() {}
static void PictureUpdate() {
    UpdateDrawScale();
    UpdateDrawScale(); // a second call in the frame changes nothing
    cursorOverTarget = IsCursorOver(hitTarget);
    UpdateAllObjects();
}
enum { PICTURE_STATE = 100 };

// Colours of the four quarters of the test image as it is drawn in the file.
enum : uint32_t {
    TOP_LEFT = 0xFF0000,    // red
    TOP_RIGHT = 0x00FF00,   // green
    BOTTOM_LEFT = 0x0000FF, // blue
    BOTTOM_RIGHT = 0xFFFF00 // yellow
};

// Writes an RGBA PNG of `size` by `size` pixels whose quarters have the colours
// above (or one colour when `solid` is not 0) and returns its absolute path.
static std::string WriteQuarters(const std::string& dir, const char* name, uint32_t solid = 0) {
    const int size = 16;
    std::vector<uint8_t> pixels(size * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint32_t rgb = solid;
            if (solid == 0)
                rgb = y < size / 2 ? (x < size / 2 ? TOP_LEFT : TOP_RIGHT)
                                   : (x < size / 2 ? BOTTOM_LEFT : BOTTOM_RIGHT);
            uint8_t* p = &pixels[(y * size + x) * 4];
            p[0] = rgb >> 16;
            p[1] = (rgb >> 8) & 0xFF;
            p[2] = rgb & 0xFF;
            p[3] = 0xFF;
        }
    const std::string path = dir + "/" + name;
    EXPECT_NE(stbi_write_png(path.c_str(), size, size, 4, pixels.data(), size * 4), 0);
    return path;
}

class Pictures : public ::testing::Test {
  protected:
    static std::string dir;
    Texture* quarters = nullptr;
    Texture* magenta = nullptr;

    static void SetUpTestSuite() {
        StartTestEngine(false);
        char pattern[] = "/tmp/objects_test_XXXXXX";
        dir = mkdtemp(pattern);
    }
    static void TearDownTestSuite() {
        StopTestEngine();
        std::string command = "rm -rf '" + dir + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }
    void SetUp() override {
        ClearStates();
        AddGameState(PICTURE_STATE, NoStep, NoStep, PictureUpdate, DrawAllObjects, FreeAllObjects,
                     NoStep);
        EnterFirstState(PICTURE_STATE);
        squareMesh = CreateSquareMesh(0xFFFFFFFF);
        quarters = LoadTexture(WriteQuarters(dir, "quarters.png").c_str());
        magenta = LoadTexture(WriteQuarters(dir, "magenta.png", 0xFF00FF).c_str());
        ASSERT_NE(quarters, nullptr);
        ASSERT_NE(magenta, nullptr);
        hitTarget = nullptr;
    }
    void TearDown() override {
        FreeAllObjects();
        FlushDestroyed();
        FreeMesh(squareMesh);
        squareMesh = nullptr;
        UnloadTexture(quarters);
        UnloadTexture(magenta);
    }
    // The four quarter colours seen at the centres of the client's quarters
    // (top left, top right, bottom left, bottom right).
    static std::vector<uint32_t> QuarterColours(const Screenshot& shot) {
        const int w = shot.width, h = shot.height;
        return {shot.At(w / 4, h / 4) & 0xFFFFFF, shot.At(3 * w / 4, h / 4) & 0xFFFFFF,
                shot.At(w / 4, 3 * h / 4) & 0xFFFFFF, shot.At(3 * w / 4, 3 * h / 4) & 0xFFFFFF};
    }
};
std::string Pictures::dir;

TEST_F(Pictures, AFullScreenPictureAsTheScreensMakeItIsUprightAndUnmirrored) {
    // Rotation π and a negative width, on the square mesh: the screens' backgrounds.
    AddObject(new GameObject, "BG", 0, 0, -1280, 720, PI_F, squareMesh, quarters);
    const Screenshot shot = CaptureFrame();
    ASSERT_EQ(shot.width, 1280);
    EXPECT_EQ(QuarterColours(shot),
              (std::vector<uint32_t>{TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT}));
}

TEST_F(Pictures, APictureTurnedByHalfATurnWithAPositiveWidthShowsMirrored) {
    // Buttons and troops are made this way; their pictures are drawn for it.
    AddObject(new GameObject, "Knight", 0, 0, 1280, 720, PI_F, squareMesh, quarters);
    EXPECT_EQ(QuarterColours(CaptureFrame()),
              (std::vector<uint32_t>{TOP_RIGHT, TOP_LEFT, BOTTOM_RIGHT, BOTTOM_LEFT}));
}

TEST_F(Pictures, SheetFramesRunFromTheBottomLeftCellRowByRowUpward) {
    // The test image as a 2 by 2 sheet of one-colour cells, played full screen.
    Animation sheet;
    sheet.texture = quarters;
    sheet.frameCount = 4;
    sheet.rows = 2;
    sheet.columns = 2;
    sheet.frameDurations.assign(4, 1.0f);
    auto* sprite = static_cast<Sprite*>(
        AddObject(new Sprite, "Background", 0, 0, -1280, 720, PI_F, squareMesh, nullptr));
    SetAnimation(sprite, &sheet);
    const uint32_t cells[4] = {BOTTOM_LEFT, BOTTOM_RIGHT, TOP_LEFT, TOP_RIGHT};
    for (uint32_t frame = 0; frame < 4; ++frame) {
        sprite->frame = frame;
        UpdateFrameMatrix(sprite);
        const Screenshot shot = CaptureFrame();
        for (uint32_t colour : QuarterColours(shot))
            EXPECT_EQ(colour, cells[frame]) << frame;
    }
    // Without an animation a sprite shows its whole still picture.
    auto* still = static_cast<Sprite*>(
        AddObject(new Sprite, "Still", 0, 0, -1280, 720, PI_F, squareMesh, quarters));
    SetAnimation(still, nullptr);
    EXPECT_EQ(QuarterColours(CaptureFrame()),
              (std::vector<uint32_t>{TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT}));
}

TEST_F(Pictures, TintIsAppliedOnlyWhileTheObjectAsksForIt) {
    GameObject* bg = AddObject(new GameObject, "BG", 0, 0, -1280, 720, PI_F, squareMesh, magenta);
    bg->useTint = 1;
    bg->tintColor = 0xFFFF0000; // red: magenta times red is red
    EXPECT_EQ(QuarterColours(CaptureFrame())[0], 0xFF0000u);
    bg->useTint = 0;
    EXPECT_EQ(QuarterColours(CaptureFrame())[0], 0xFF00FFu);
}

// Bounding box of the pixels of one colour in a capture.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
static Box FindColour(const Screenshot& shot, uint32_t rgb) {
    Box box;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if ((shot.At(x, y) & 0xFFFFFF) == rgb) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Runs a frame with the cursor on a client pixel. Tests running beside this
// one on the same X display share its pointer, so a frame that saw the
// pointer elsewhere is run again.
static bool RunFrameWithCursorAt(int x, int y) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        int cx = -1, cy = -1;
        PlatformGetCursorClientPos(&cx, &cy);
        if (cx != x || cy != y) MoveCursorToClient(x, y);
        RunFrames(1);
        PlatformGetCursorClientPos(&cx, &cy);
        if (cx == x && cy == y) return true;
    }
    return false;
}

// Places a 200 by 100 button at (300, -150) of the layout, checks where it is
// drawn for the client size, and that the cursor on its drawn pixels hits it
// and a few pixels off misses it.
static void CheckButtonDrawnAndHit(Texture* picture, int clientWidth, int clientHeight) {
    hitTarget = AddObject(new GameObject, "Button", 300, -150, 200, 100, PI_F, squareMesh, picture);
    RunFrames(1);
    const Screenshot shot = CaptureFrame();
    ASSERT_EQ(shot.width, clientWidth);
    ASSERT_EQ(shot.height, clientHeight);
    const float s = std::min(clientWidth / 1280.0f, clientHeight / 720.0f);
    EXPECT_FLOAT_EQ(drawScale, s);
    const Box box = FindColour(shot, 0xFF00FF);
    EXPECT_NEAR(box.left, clientWidth / 2.0f + 200 * s, 1.5);
    EXPECT_NEAR(box.right, clientWidth / 2.0f + 400 * s, 1.5);
    EXPECT_NEAR(box.top, clientHeight / 2.0f + 100 * s, 1.5);
    EXPECT_NEAR(box.bottom, clientHeight / 2.0f + 200 * s, 1.5);

    struct Probe {
        int x, y;
        bool over;
    };
    const Probe probes[] = {{box.left + 1, box.top + 1, true},
                            {box.right - 1, box.bottom - 1, true},
                            {(box.left + box.right) / 2, (box.top + box.bottom) / 2, true},
                            {box.left - 4, box.top + 10, false},
                            {box.right + 4, box.bottom - 10, false},
                            {box.left + 10, box.top - 4, false}};
    for (const Probe& p : probes) {
        ASSERT_TRUE(RunFrameWithCursorAt(p.x, p.y));
        EXPECT_EQ(cursorOverTarget, p.over)
            << clientWidth << "x" << clientHeight << " at " << p.x << ", " << p.y;
        // Still over it a frame later: the cursor is divided once per frame.
        ASSERT_TRUE(RunFrameWithCursorAt(p.x, p.y));
        EXPECT_EQ(cursorOverTarget, p.over) << "next frame";
    }
}

TEST_F(Pictures, ObjectsAreDrawnAndHitAtOneScaleInEveryWindowSize) {
    // Sizes that fit on Xvfb's 1920 by 1080 screen beside the window's place
    // (the pointer cannot leave the screen): 16:9, 4:3 (width decides) and
    // 21:9 (height decides).
    const int sizes[][2] = {{1280, 720}, {1366, 768}, {1600, 900}, {1024, 768}, {1680, 720}};
    for (const auto& size : sizes) {
        SetWindowResolution(size[0], size[1]);
        CheckButtonDrawnAndHit(magenta, size[0], size[1]);
        FreeAllObjects();
        if (HasFatalFailure()) return;
    }
    SetWindowResolution(1280, 720);
}
