// Game objects: the object list's life cycle (deferred deletion, walks that
// destroy and append), sprites played frame by frame, the cursor hit test, and
// pictures drawn as the screens make them (sizes and clicks at every scale are
// engine_draw_scale_test's).
#include <functional>

#include "app/game_state.h"
#include "app/input.h"
#include "engine/graphics/texture.h"
#include "graphics_helpers.h"
#include "objects/animation.h"
#include "objects/game_object.h"

// Every Init, Update and deletion of a probe, in order ("init A", "update A", "delete A").
static std::vector<std::string> events;

// An object that records its life and runs a test's action in its Update.
struct Probe : GameObject {
    std::function<void(Probe*)> onUpdate;
    std::function<void()> onDelete;
    int updates = 0, draws = 0;
    ~Probe() override {
        events.push_back("delete " + name);
        if (onDelete) onDelete();
    }
    void Init() override { events.push_back("init " + name); }
    void Update() override {
        ++updates;
        events.push_back("update " + name);
        if (onUpdate) onUpdate(this);
    }
    void Draw() override { ++draws; }
};

static Probe* AddProbe(const char* name) {
    return static_cast<Probe*>(AddObject(new Probe, name));
}
static int Count(const std::string& event) {
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

TEST_F(ObjectList, DeletionWaitsForTheNextUpdateAndHappensOnce) {
    Probe* a = AddProbe("A");
    Probe* b = AddProbe("B");
    Probe* c = AddProbe("C");
    EXPECT_EQ(a->active + a->alive + a->visible, 3);
    EXPECT_EQ(AddObject(nullptr, "Nothing"), nullptr);
    a->onUpdate = [b](Probe*) {
        DestroyObject(b);
        DestroyObject(b);
    };
    UpdateAllObjects();
    EXPECT_EQ(std::vector<int>({a->updates, b->updates, c->updates}), std::vector<int>({1, 0, 1}));
    EXPECT_EQ(Count("delete B"), 0); // still allocated, still listed
    c->visible = 0;
    DrawAllObjects(); // dead or hidden objects are not drawn
    EXPECT_EQ(std::vector<int>({a->draws, b->draws, c->draws}), std::vector<int>({1, 0, 0}));
    c->active = 0; // and inactive ones not updated
    a->onUpdate = nullptr;
    UpdateAllObjects();
    UpdateAllObjects();
    EXPECT_EQ(Count("delete B"), 1);
    EXPECT_EQ(events[events.size() - 3], "delete B"); // before anything else runs
    EXPECT_EQ(c->updates, 1);
    // A destructor that destroys another object; freeing all waits for the next flush.
    a->onDelete = [c]() { DestroyObject(c); };
    DestroyObject(a);
    FlushDestroyed();
    EXPECT_EQ(Count("delete A") + Count("delete C"), 2);
    Probe* d = AddProbe("D");
    FreeAllObjects();
    EXPECT_EQ(ObjectCount(), 0);
    EXPECT_EQ(d->alive, 0);
    EXPECT_EQ(Count("delete D"), 0);
    UpdateAllObjects();
    EXPECT_EQ(Count("delete D"), 1);
}

TEST_F(ObjectList, AWalkUpdatesWhatItAppendsAndDeletesNothingWhileItRuns) {
    Probe* a = AddProbe("A");
    AddProbe("B");
    a->onUpdate = [](Probe* self) {
        if (self->updates == 1) AddProbe("Spawned");
        if (self->updates == 2) DestroyObject(AddProbe("Brief"));
        if (self->updates < 3) return;
        // Ends itself and the screen in its own Update: it stays whole until the walk ends.
        DestroyObject(self);
        FlushDestroyed();
        FreeAllObjects();
        EXPECT_EQ(self->name, "A");
        AddProbe("AfterFree");
    };
    UpdateAllObjects();
    EXPECT_EQ(events, (std::vector<std::string>{"init A", "init B", "update A", "init Spawned",
                                                "update B", "update Spawned"}));
    UpdateAllObjects();
    EXPECT_EQ(Count("update Brief"), 0);
    events.clear();
    UpdateAllObjects();
    EXPECT_EQ(events, (std::vector<std::string>{"delete Brief", "update A", "init AfterFree",
                                                "update AfterFree"}));
    ASSERT_EQ(ObjectCount(), 1);
    UpdateAllObjects();
    EXPECT_EQ(Count("delete A") + Count("delete B") + Count("delete Spawned"), 3);
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
    // Frames of a screen: update and draw the list with this frame time; the frames seen.
    std::vector<uint32_t> Frames(int count, double seconds) {
        std::vector<uint32_t> seen;
        for (int i = 0; i < count; ++i) {
            frameTime = seconds;
            UpdateAllObjects();
            DrawAllObjects();
            seen.push_back(sprite->frame);
        }
        return seen;
    }
    using Seen = std::vector<uint32_t>;
};

TEST_F(Sprites, DurationsAndSpeedPaceAtMostOneFramePerDrawAndLoopsEndForOneDraw) {
    EXPECT_EQ(Frames(4, 0.125), (Seen{0, 0, 0, 1})); // a 0.5 s frame lasts four draws
    SetAnimation(sprite, &sheet);
    sprite->playSpeed = 2.0f;
    EXPECT_EQ(Frames(2, 0.125), (Seen{0, 1})); // twice as fast
    SetAnimation(sprite, &sheet);
    for (uint32_t expected : {1, 2, 0, 1, 2, 0}) {
        EXPECT_EQ(Frames(1, 100.0), Seen{expected}); // far longer than any duration
        EXPECT_EQ(sprite->ended, expected == 0);
    }
    EXPECT_EQ(textureTransform.m[0][0], 1.0f); // back to identity after every draw
    EXPECT_EQ(textureTransform.m[0][2], 0.0f);
}

TEST_F(Sprites, NonLoopingStopsEndedOnItsLastCellAndHiddenOrPausedOnesWait) {
    sprite->loop = 0;
    EXPECT_EQ(Frames(3, 100.0), (Seen{1, 2, 3})); // stops one past the last frame
    EXPECT_EQ(sprite->playing, 0);
    EXPECT_FLOAT_EQ(sprite->textureMatrix.m[1][2], 0.5f); // showing frame 2's cell
    Frames(5, 100.0);
    EXPECT_EQ(sprite->ended, 1);
    sprite->playing = 1; // played again: restarts
    EXPECT_EQ(Frames(1, 0.125), Seen{0});
    EXPECT_EQ(sprite->ended, 0);
    sprite->frame = 1000; // however far past the end, nothing past the durations is read
    EXPECT_EQ(Frames(1, 100.0), Seen{1});
    sprite->visible = 0;
    EXPECT_EQ(Frames(2, 100.0), (Seen{1, 1}));
    sprite->visible = 1;
    sprite->playing = 0;
    EXPECT_EQ(Frames(2, 100.0), (Seen{1, 1}));
}

TEST(CursorHitTest, EdgesAreInsideAndNegativeSizesAreNeverHit) {
    GameObject button; // 100 by 50 at (10, 20): x from -40 to 60, y from -5 to 45
    button.position[0] = 10;
    button.position[1] = 20;
    const float cases[][5] = {{-40, -5, 100, 50, 1},    {60, 45, 100, 50, 1},
                              {60.01f, 20, 100, 50, 0}, {-40.01f, 20, 100, 50, 0},
                              {10, 45.01f, 100, 50, 0}, {10, -5.01f, 100, 50, 0},
                              {10, 20, -100, 50, 0},    {10, 20, 100, -50, 0}};
    for (const auto& [x, y, w, h, over] : cases) {
        cursorWorldX = x;
        cursorWorldY = y;
        button.scale[0] = w; // negative: a full-screen picture's mirrored width
        button.scale[1] = h;
        EXPECT_EQ(IsCursorOver(&button), over == 1) << x << ", " << y << " " << w << "x" << h;
    }
    EXPECT_FALSE(IsCursorOver(nullptr));
}

// Pictures on screen (real window, real frames)

static void NoStep() {}
static void PictureUpdate() {
    UpdateDrawScale();
    UpdateAllObjects();
}

// Colours of the test image's quarters as drawn in the file.
constexpr uint32_t TOP_LEFT = 0xFF0000, TOP_RIGHT = 0x00FF00, BOTTOM_LEFT = 0xFF,
                   BOTTOM_RIGHT = 0xFFFF00;
using Quarters = std::vector<uint32_t>;

using Pictures = GraphicsTest;

// The colours at the centres of the client's quarters (TL, TR, BL, BR) in the next frame.
static Quarters Shown() {
    const Screenshot shot = CaptureFrame();
    const int w = shot.width, h = shot.height;
    return {shot.At(w / 4, h / 4) & 0xFFFFFF, shot.At(3 * w / 4, h / 4) & 0xFFFFFF,
            shot.At(w / 4, 3 * h / 4) & 0xFFFFFF, shot.At(3 * w / 4, 3 * h / 4) & 0xFFFFFF};
}

TEST_F(Pictures, UprightOrMirroredTintedAndSheetFramesFromTheBottomLeftCell) {
    ClearStates();
    AddGameState(100, NoStep, NoStep, PictureUpdate, DrawAllObjects, FreeAllObjects, NoStep);
    EnterFirstState(100);
    squareMesh = CreateSquareMesh(0xFFFFFFFF);
    std::vector<uint8_t> pixels; // a 16 by 16 picture of the four quarters
    for (int i = 0; i < 16 * 16; ++i) {
        const int x = i % 16, y = i / 16;
        const uint32_t rgb =
            y < 8 ? (x < 8 ? TOP_LEFT : TOP_RIGHT) : (x < 8 ? BOTTOM_LEFT : BOTTOM_RIGHT);
        pixels.insert(pixels.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255});
    }
    const std::string path = MakeTempFolder() + "/quarters.png";
    ASSERT_TRUE(WritePng(path, 16, 16, pixels));
    Texture* quarters = LoadTexture(path.c_str());
    ASSERT_NE(quarters, nullptr);
    // Rotation π and a negative width on the square mesh: the screens' backgrounds.
    GameObject* bg = AddObject(new GameObject, "BG", 0, 0, -1280, 720, PI_F, squareMesh, quarters);
    EXPECT_EQ(Shown(), (Quarters{TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT}));
    // Buttons and troops have a positive width; their pictures are drawn mirrored for it.
    bg->scale[0] = 1280;
    EXPECT_EQ(Shown(), (Quarters{TOP_RIGHT, TOP_LEFT, BOTTOM_RIGHT, BOTTOM_LEFT}));
    // The tint applies only while the object asks for it: yellow times red is red.
    bg->useTint = 1;
    bg->tintColor = 0xFFFF0000;
    EXPECT_EQ(Shown()[2], 0xFF0000u);
    bg->useTint = 0;
    EXPECT_EQ(Shown()[2], BOTTOM_RIGHT);
    // The test image as a 2 by 2 sheet of one-colour cells, played full screen:
    // frames run from the bottom-left cell, row by row upward.
    bg->visible = 0;
    Animation sheet;
    sheet.texture = quarters;
    sheet.frameCount = 4;
    sheet.rows = sheet.columns = 2;
    sheet.frameDurations.assign(4, 1.0f);
    auto* sprite = static_cast<Sprite*>(
        AddObject(new Sprite, "Background", 0, 0, -1280, 720, PI_F, squareMesh, nullptr));
    SetAnimation(sprite, &sheet);
    EXPECT_EQ(sprite->texture, quarters);
    const uint32_t cells[4] = {BOTTOM_LEFT, BOTTOM_RIGHT, TOP_LEFT, TOP_RIGHT};
    for (uint32_t frame = 0; frame < 4; ++frame) {
        sprite->frame = frame;
        UpdateFrameMatrix(sprite);
        EXPECT_EQ(Shown(), Quarters(4, cells[frame])) << frame;
    }
    // Without an animation a sprite shows its whole still picture.
    SetAnimation(static_cast<Sprite*>(
                     AddObject(new Sprite, "Still", 0, 0, -1280, 720, PI_F, squareMesh, quarters)),
                 nullptr);
    EXPECT_EQ(Shown(), (Quarters{TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT}));
    FreeAllObjects();
    FlushDestroyed();
    FreeMesh(squareMesh);
    squareMesh = nullptr;
    UnloadTexture(quarters);
}
