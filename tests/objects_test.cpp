// Game objects: the object list's life cycle (deferred deletion, walks that
// destroy and append), sprites played frame by frame, the cursor hit test, and
// pictures drawn and clicked as the screens make them (full screen at several
// display sizes is engine_draw_scale_test's).
#include <algorithm>
#include <functional>

#include "app/game_state.h"
#include "app/input.h"
#include "app/window.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "graphics_helpers.h"
#include "objects/animation.h"
#include "objects/game_object.h"

// The object list

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
    return (int)std::count(events.begin(), events.end(), event);
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

// Where the fields land on screen is the Pictures tests' to show.
TEST_F(ObjectList, AddObjectSetsTheFlagsAppendsThenRunsInit) {
    Probe* first = AddProbe("First");
    Probe* probe = AddProbe("Button");
    EXPECT_EQ(probe->name, "Button");
    EXPECT_EQ(probe->active + probe->alive + probe->visible, 3);
    EXPECT_TRUE(probe->listedAtInit); // appended before Init, flags already set
    EXPECT_EQ(objectList.front(), first);
    EXPECT_EQ(AddObject(nullptr, "Nothing"), nullptr);
    EXPECT_EQ(ObjectCount(), 2);
}

TEST_F(ObjectList, DestroyedDuringTheWalkIsSkippedThenDeletedAtTheNextUpdate) {
    Probe* a = AddProbe("A");
    Probe* b = AddProbe("B");
    Probe* c = AddProbe("C");
    a->onUpdate = [b](Probe*) { DestroyObject(b); };
    UpdateAllObjects();
    EXPECT_EQ(std::vector<int>({a->updates, b->updates, c->updates}), std::vector<int>({1, 0, 1}));
    EXPECT_EQ(CountEvents("delete B"), 0); // still allocated, still listed
    EXPECT_EQ(ObjectCount(), 3);
    a->onUpdate = nullptr;
    UpdateAllObjects();
    EXPECT_EQ(ObjectCount(), 2);
    // Deleted at the start of the update, before anything else runs.
    EXPECT_EQ(events[events.size() - 3], "delete B");
    EXPECT_EQ(a->updates + c->updates, 4);
}

TEST_F(ObjectList, DestroyedTwiceOrFromADestructorIsDeletedOnce) {
    Probe* a = AddProbe("A");
    DestroyObject(a);
    DestroyObject(a);
    DestroyObject(nullptr);
    EXPECT_EQ(destroyQueue.size(), 1u);
    UpdateAllObjects();
    UpdateAllObjects();
    EXPECT_EQ(CountEvents("delete A"), 1);
    // A destructor that destroys another object.
    Probe* owner = AddProbe("Owner");
    Probe* marker = AddProbe("Marker");
    owner->onDelete = [marker]() { DestroyObject(marker); };
    DestroyObject(owner);
    FlushDestroyed();
    EXPECT_EQ(CountEvents("delete Owner") + CountEvents("delete Marker"), 2);
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

TEST_F(ObjectList, AppendedDuringTheWalkIsUpdatedInTheSamePassUnlessDestroyed) {
    Probe* spawned = nullptr;
    Probe* a = AddProbe("A");
    a->onUpdate = [&spawned](Probe* self) {
        if (self->updates == 1) spawned = AddProbe("Spawned");
        if (self->updates == 2) DestroyObject(AddProbe("Brief"));
    };
    AddProbe("B");
    UpdateAllObjects();
    ASSERT_NE(spawned, nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"init A", "init B", "update A", "init Spawned",
                                                "update B", "update Spawned"}));
    UpdateAllObjects();
    UpdateAllObjects();
    EXPECT_EQ(CountEvents("update Brief"), 0);
    EXPECT_EQ(CountEvents("delete Brief"), 1);
}

TEST_F(ObjectList, InactiveObjectsAreNotUpdatedAndInvisibleOrDeadOnesNotDrawn) {
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
    EXPECT_EQ(std::vector<int>({hidden->draws, shown->draws, dead->draws}),
              std::vector<int>({0, 1, 0}));
}

TEST_F(ObjectList, FreeAllObjectsQueuesEveryObjectAndDeletesAtTheNextFlush) {
    Probe* a = AddProbe("A");
    AddProbe("B");
    DestroyObject(AddProbe("Early"));
    FreeAllObjects();
    EXPECT_EQ(CountEvents("delete Early"), 1); // the queue is flushed first
    EXPECT_EQ(ObjectCount(), 0);
    EXPECT_EQ(a->alive, 0);
    EXPECT_EQ(destroyQueue.size(), 2u);
    EXPECT_EQ(CountEvents("delete A"), 0); // still allocated until the next flush
    UpdateAllObjects();
    EXPECT_EQ(CountEvents("delete A") + CountEvents("delete B"), 2);
    EXPECT_TRUE(destroyQueue.empty());
}

TEST_F(ObjectList, NothingIsDeletedWhileAWalkRuns) {
    // An object that ends itself and the screen in its own Update stays whole until the walk ends.
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
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(objectList.front()->name, "AfterFree");
    UpdateAllObjects();
    EXPECT_EQ(CountEvents("delete A") + CountEvents("delete B"), 2);
}

// Sprites (no picture needed: the list draws them, the mesh is absent)

class Sprites : public ObjectList {
  protected:
    Animation sheet; // three frames on a 2 by 2 grid; durations exact in binary
    Sprite* sprite = nullptr;

    void SetUp() override {
        ObjectList::SetUp();
        sheet.frameCount = 3;
        sheet.rows = sheet.columns = 2;
        sheet.frameDurations = {0.5f, 0.25f, 0.5f};
        sprite = static_cast<Sprite*>(AddObject(new Sprite, "Anim"));
        SetAnimation(sprite, &sheet);
        sprite->playing = 1;
    }
    // One frame of a screen: update and draw the list with this frame time.
    void Frame(double seconds) {
        frameTime = seconds;
        UpdateAllObjects();
        DrawAllObjects();
    }
    void Frames(int count, double seconds) {
        for (int i = 0; i < count; ++i)
            Frame(seconds);
    }
    // The cell the sprite's texture matrix points at, as (column, row).
    std::pair<float, float> Cell() const {
        const Matrix3& m = sprite->textureMatrix;
        const Animation& a = *sprite->animation;
        return {m.m[0][2] * a.columns, m.m[1][2] * a.rows};
    }
};

TEST_F(Sprites, SetAnimationStartsAtTheFirstCellAndFramesMapToCellsRowByRow) {
    Animation grid;
    grid.texture = reinterpret_cast<Texture*>(0x20);
    grid.frameCount = 6;
    grid.rows = 2;
    grid.columns = 3;
    grid.frameDurations.assign(6, 1.0f);
    sprite->frame = 2;
    sprite->animTime = 0.3f;
    SetAnimation(sprite, &grid);
    EXPECT_EQ(sprite->frame, 0u);
    EXPECT_EQ(sprite->animTime, 0);
    EXPECT_EQ(sprite->texture, grid.texture);
    EXPECT_EQ(Cell(), std::make_pair(0.0f, 0.0f));
    EXPECT_EQ(sprite->playing, 1); // playing and loop are the caller's
    for (uint32_t frame = 0; frame < 6; ++frame) {
        sprite->frame = frame;
        UpdateFrameMatrix(sprite);
        EXPECT_FLOAT_EQ(sprite->textureMatrix.m[0][0], 1.0f / 3);
        EXPECT_FLOAT_EQ(sprite->textureMatrix.m[1][1], 0.5f);
        EXPECT_FLOAT_EQ(Cell().first, float(frame % 3)) << frame;
        EXPECT_FLOAT_EQ(Cell().second, float(frame / 3)) << frame;
    }
    // Without an animation a sprite keeps its still picture, and drawing it reads nothing.
    Sprite* still = static_cast<Sprite*>(AddObject(new Sprite, "Still"));
    still->texture = grid.texture;
    still->playing = 1;
    SetAnimation(still, nullptr);
    Frame(10.0);
    EXPECT_EQ(still->texture, grid.texture);
    EXPECT_EQ(still->frame, 0u);
}

TEST_F(Sprites, FrameDurationsPaceTheAnimation) {
    // 0.125 s frames: the first frame (0.5 s) shows for four draws.
    Frames(3, 0.125);
    EXPECT_EQ(sprite->frame, 0u);
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
    const uint32_t frames[] = {1, 2, 0, 1, 2, 0};
    for (size_t draw = 0; draw < 6; ++draw) {
        Frame(100.0); // far longer than any duration
        EXPECT_EQ(sprite->frame, frames[draw]) << "draw " << draw;
        EXPECT_EQ(sprite->ended, frames[draw] == 0) << "draw " << draw;
        EXPECT_EQ(Cell().first, float(frames[draw] % 2));
    }
    EXPECT_EQ(sprite->playing, 1);
    // The texture transform is back to identity after every draw.
    Matrix3 identity;
    Matrix3Identity(identity);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(textureTransform.m[i / 3][i % 3], identity.m[i / 3][i % 3]);
}

TEST_F(Sprites, NonLoopingStopsEndedOnItsLastCellAndPlayedAgainRestarts) {
    sprite->loop = 0;
    Frames(2, 100.0);
    EXPECT_EQ(sprite->frame, 2u);
    EXPECT_EQ(sprite->ended, 0);
    Frame(100.0);
    EXPECT_EQ(sprite->playing, 0);
    EXPECT_EQ(sprite->frame, 3u);                  // one past the last frame
    EXPECT_EQ(Cell(), std::make_pair(0.0f, 1.0f)); // frame 2's cell
    Frames(5, 100.0);
    EXPECT_EQ(sprite->ended, 1);
    EXPECT_EQ(sprite->frame, 3u);

    sprite->playing = 1;
    Frame(0.125);
    EXPECT_EQ(sprite->frame, 0u);
    EXPECT_EQ(sprite->ended, 0);
    EXPECT_EQ(Cell(), std::make_pair(0.0f, 0.0f));
    Frames(3, 100.0);
    EXPECT_EQ(sprite->ended, 1); // and plays through to its end once more
    // However far past the end the frame index is, nothing past the durations is read.
    sprite->frame = 1000;
    sprite->playing = 1;
    Frame(100.0);
    EXPECT_EQ(sprite->frame, 1u);
}

TEST_F(Sprites, InvisiblePausedAndDeadSpritesDoNotAdvance) {
    sprite->visible = 0;
    Frames(4, 100.0);
    EXPECT_EQ(sprite->frame, 0u);
    sprite->visible = 1;
    Frame(100.0);
    EXPECT_EQ(sprite->frame, 1u);
    sprite->playing = 0;
    Frame(100.0);
    EXPECT_EQ(sprite->frame, 1u);
    sprite->playing = 1;
    DestroyObject(sprite);
    DrawAllObjects();
    EXPECT_EQ(sprite->frame, 1u);
}

TEST(CursorHitTest, EdgesAreInsideAndNegativeSizesAreNeverHit) {
    GameObject button;
    button.position[0] = 10;
    button.position[1] = 20;
    button.scale[0] = 100;
    button.scale[1] = 50;
    const struct {
        float x, y;
        bool over;
    } points[] = {{10, 20, true},       {-40, -5, true},     {60, 45, true},
                  {-40, 45, true},      {60, -5, true},      {60.01f, 20, false},
                  {-40.01f, 20, false}, {10, 45.01f, false}, {10, -5.01f, false}};
    for (const auto& p : points) {
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

// Pictures on screen (real window, real frames)

// The test's own screen: one draw scale (called twice: the second changes
// nothing), the hit test noted, the list updated and drawn.
static GameObject* hitTarget = nullptr;
static bool cursorOverTarget = false;
static void NoStep() {}
static void PictureUpdate() {
    UpdateDrawScale();
    UpdateDrawScale();
    cursorOverTarget = IsCursorOver(hitTarget);
    UpdateAllObjects();
}

// Colours of the test image's quarters as drawn in the file.
constexpr uint32_t TOP_LEFT = 0xFF0000, TOP_RIGHT = 0x00FF00, BOTTOM_LEFT = 0xFF,
                   BOTTOM_RIGHT = 0xFFFF00;
using Quarters = std::vector<uint32_t>;

// Writes a 16 by 16 PNG with the quarters above (or one colour `solid`).
static std::string WriteQuarters(const std::string& dir, const char* name, uint32_t solid = 0) {
    std::vector<uint8_t> pixels(16 * 16 * 4);
    for (int i = 0; i < 16 * 16; ++i) {
        const int x = i % 16, y = i / 16;
        const uint32_t rgb =
            solid ? solid
                  : (y < 8 ? (x < 8 ? TOP_LEFT : TOP_RIGHT) : (x < 8 ? BOTTOM_LEFT : BOTTOM_RIGHT));
        pixels[i * 4] = rgb >> 16;
        pixels[i * 4 + 1] = (rgb >> 8) & 0xFF;
        pixels[i * 4 + 2] = rgb & 0xFF;
        pixels[i * 4 + 3] = 0xFF;
    }
    const std::string path = dir + "/" + name;
    EXPECT_TRUE(WritePng(path, 16, 16, pixels));
    return path;
}

class Pictures : public GraphicsTest {
  protected:
    Texture* quarters = nullptr;
    Texture* magenta = nullptr;

    void SetUp() override {
        ClearStates();
        AddGameState(100, NoStep, NoStep, PictureUpdate, DrawAllObjects, FreeAllObjects, NoStep);
        EnterFirstState(100);
        squareMesh = CreateSquareMesh(0xFFFFFFFF);
        const std::string dir = MakeTempFolder();
        quarters = LoadTexture(WriteQuarters(dir, "quarters.png").c_str());
        magenta = LoadTexture(WriteQuarters(dir, "magenta.png", 0xFF00FF).c_str());
        ASSERT_TRUE(quarters && magenta);
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
    // The colours at the centres of the client's quarters (TL, TR, BL, BR).
    static Quarters QuarterColours(const Screenshot& shot) {
        const int w = shot.width, h = shot.height;
        return {shot.At(w / 4, h / 4) & 0xFFFFFF, shot.At(3 * w / 4, h / 4) & 0xFFFFFF,
                shot.At(w / 4, 3 * h / 4) & 0xFFFFFF, shot.At(3 * w / 4, 3 * h / 4) & 0xFFFFFF};
    }
};

TEST_F(Pictures, FullScreenPicturesAreUprightButAPositiveWidthMirrorsAndTintApplies) {
    // Rotation π and a negative width on the square mesh: the screens' backgrounds.
    GameObject* bg = AddObject(new GameObject, "BG", 0, 0, -1280, 720, PI_F, squareMesh, quarters);
    const Screenshot shot = CaptureFrame();
    ASSERT_EQ(shot.width, 1280);
    EXPECT_EQ(QuarterColours(shot), (Quarters{TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT}));
    // Buttons and troops have a positive width; their pictures are drawn mirrored for it.
    bg->scale[0] = 1280;
    EXPECT_EQ(QuarterColours(CaptureFrame()),
              (Quarters{TOP_RIGHT, TOP_LEFT, BOTTOM_RIGHT, BOTTOM_LEFT}));
    // The tint applies only while the object asks for it: magenta times red is red.
    bg->texture = magenta;
    bg->useTint = 1;
    bg->tintColor = 0xFFFF0000;
    EXPECT_EQ(QuarterColours(CaptureFrame())[0], 0xFF0000u);
    bg->useTint = 0;
    EXPECT_EQ(QuarterColours(CaptureFrame())[0], 0xFF00FFu);
}

TEST_F(Pictures, SheetFramesRunFromTheBottomLeftCellRowByRowUpward) {
    // The test image as a 2 by 2 sheet of one-colour cells, played full screen.
    Animation sheet;
    sheet.texture = quarters;
    sheet.frameCount = 4;
    sheet.rows = sheet.columns = 2;
    sheet.frameDurations.assign(4, 1.0f);
    auto* sprite = static_cast<Sprite*>(
        AddObject(new Sprite, "Background", 0, 0, -1280, 720, PI_F, squareMesh, nullptr));
    SetAnimation(sprite, &sheet);
    const uint32_t cells[4] = {BOTTOM_LEFT, BOTTOM_RIGHT, TOP_LEFT, TOP_RIGHT};
    for (uint32_t frame = 0; frame < 4; ++frame) {
        sprite->frame = frame;
        UpdateFrameMatrix(sprite);
        EXPECT_EQ(QuarterColours(CaptureFrame()), Quarters(4, cells[frame])) << frame;
    }
    // Without an animation a sprite shows its whole still picture.
    SetAnimation(static_cast<Sprite*>(
                     AddObject(new Sprite, "Still", 0, 0, -1280, 720, PI_F, squareMesh, quarters)),
                 nullptr);
    EXPECT_EQ(QuarterColours(CaptureFrame()),
              (Quarters{TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT}));
}

// Runs a frame with the cursor on a client pixel. Tests running beside this one
// share the X pointer, so a frame that saw the pointer elsewhere is run again.
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

TEST_F(Pictures, ObjectsAreDrawnAndHitAtOneScaleInEveryWindowSize) {
    // Sizes that fit Xvfb's 1920 by 1080 screen: 16:9, 4:3 (width decides), 21:9 (height decides).
    const int sizes[][2] = {{1280, 720}, {1366, 768}, {1600, 900}, {1024, 768}, {1680, 720}};
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        SetWindowResolution(w, h);
        // A 200 by 100 button at (300, -150) of the layout.
        hitTarget =
            AddObject(new GameObject, "Button", 300, -150, 200, 100, PI_F, squareMesh, magenta);
        RunFrames(1);
        const Screenshot shot = CaptureFrame();
        ASSERT_EQ(shot.width, w);
        ASSERT_EQ(shot.height, h);
        const float s = std::min(w / 1280.0f, h / 720.0f);
        EXPECT_FLOAT_EQ(drawScale, s);
        int left = w, top = h, right = -1, bottom = -1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((shot.At(x, y) & 0xFFFFFF) == 0xFF00FF) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        EXPECT_NEAR(left, w / 2.0f + 200 * s, 1.5);
        EXPECT_NEAR(right, w / 2.0f + 400 * s, 1.5);
        EXPECT_NEAR(top, h / 2.0f + 100 * s, 1.5);
        EXPECT_NEAR(bottom, h / 2.0f + 200 * s, 1.5);
        const struct {
            int x, y;
            bool over;
        } probes[] = {{left + 1, top + 1, true},
                      {right - 1, bottom - 1, true},
                      {(left + right) / 2, (top + bottom) / 2, true},
                      {left - 4, top + 10, false},
                      {right + 4, bottom - 10, false},
                      {left + 10, top - 4, false}};
        for (const auto& p : probes) {
            // Twice: the cursor is divided by the scale once per frame, not once per call.
            for (int frame = 0; frame < 2; ++frame) {
                ASSERT_TRUE(RunFrameWithCursorAt(p.x, p.y));
                EXPECT_EQ(cursorOverTarget, p.over)
                    << w << "x" << h << " at " << p.x << ", " << p.y << " frame " << frame;
            }
        }
        FreeAllObjects();
    }
    SetWindowResolution(1280, 720);
}
