// Every screen as a player reaches it, drawn by the engine and by the plain
// reference drawing (reference_drawing.h) on the same frame; the two pictures
// must match (at most 0.5 % of the pixels differ, by at most 8 levels a
// channel), and a frame the engine drew again only where it changed must be
// the same frame drawn whole (no pixel differing by more than the filter's
// rounding). On screens that are not 16:9 (ctest also runs it on other
// displays) the bars beside the scene must stay black, during the curtains
// too, but under the cursor.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "campaign_player.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/platform/platform.h"
#include "reference_drawing.h"

using namespace campaign;

namespace {

int checkedFrames = 0, blankFrames = 0, redrawnFrames = 0;
// Levels by which a driver's 8-bit filter may round a filtered texel away
// from the reference's (llvmpipe's fast path: up to 4).
constexpr int FILTER_ROUNDING = 4;

// Whether a client pixel (bottom-up) lies in a bar and away from every cursor.
bool InBar(int x, int y, int w, int h) {
    const float cx = x + 0.5f - w / 2.0f, cy = y + 0.5f - h / 2.0f;
    if (std::fabs(cx) < 640 * drawScale + 1 && std::fabs(cy) < 360 * drawScale + 1) return false;
    for (GameObject* object : objectList)
        if (object->alive && object->name.rfind("Cursor", 0) == 0 &&
            std::fabs(cx - object->position[0] * drawScale) < 30 * drawScale &&
            std::fabs(cy - object->position[1] * drawScale) < 30 * drawScale)
            return false;
    return true;
}

// Two frames as a player sees them (the first drawn whole, since the frames
// before were not drawn; the second only where it changed, after `between`),
// the second drawn whole again, and the reference's picture of it: the same
// picture, black bars.
void CheckFrame(const std::string& where, void (*between)() = nullptr) {
    CaptureFrame();
    if (between) between();
    reference::Recording(true); // the engine's draws of the frame, for the reference
    const Screenshot seen = CaptureFrame();
    reference::Recording(false);
    redrawnFrames += BatchLastFrameCounters().damagedPixels > 0;
    const int w = seen.width, h = seen.height;
    BatchRedrawShownWhole();
    const std::vector<uint8_t> lean = BatchReadPixels(w, h), full = reference::DrawRecorded(w, h);
    int differing = 0, worst = 0, lit = 0, shown = 0, unlikeWhole = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const uint8_t *a = &full[((size_t)y * w + x) * 4], *b = &lean[((size_t)y * w + x) * 4];
            const uint8_t* c = &seen.rgba[((size_t)(h - 1 - y) * w + x) * 4];
            int most = 0, mostSeen = 0;
            for (int i = 0; i < 3; i++) {
                most = std::max(most, std::abs(a[i] - b[i]));
                mostSeen = std::max(mostSeen, std::abs(c[i] - b[i]));
            }
            unlikeWhole += mostSeen > FILTER_ROUNDING;
            differing += most > FILTER_ROUNDING;
            shown += (a[0] | a[1] | a[2]) != 0;
            worst = std::max(worst, most);
            if ((a[0] | a[1] | a[2] | b[0] | b[1] | b[2]) && InBar(x, y, w, h)) lit++;
        }
    checkedFrames++;
    blankFrames += shown < w * h / 10; // a frame drawn by neither path compares as equal
    EXPECT_LE(differing, w * h / 200) << where;
    EXPECT_LE(worst, 8) << where;
    EXPECT_EQ(lit, 0) << where << ": drawn in the bars beside the scene at " << w << "x" << h;
    EXPECT_EQ(unlikeWhole, 0) << where << ": drawn again where it changed, unlike drawn whole";
}

// Plays `frames` frames, looking at one in every 15.
void Play(const std::string& where, int frames) {
    for (int done = 0; done < frames; done += 15) {
        RunFrames(std::min(15, frames - done));
        CheckFrame(where + " after " + std::to_string(done) + " frames");
    }
}

// Clicks a point and watches what follows.
void ClickAndPlay(const std::string& where, Point point, int frames) {
    Click(point);
    Play(where, frames);
}

// Waits for a screen (its curtain and Load unwatched), then watches it.
void Reach(int32_t state, const std::string& where, int frames) {
    RunUntilState(state, 600);
    ASSERT_EQ(currentState, state) << where;
    Play(where, frames);
}

// A battle with troops in both lanes and every page of the pause scroll.
void PlayLevel(const std::string& level) {
    RunFramesUntil(IntroGone, 200);
    // The cursor leaves its place: nothing may stay of it where it was.
    CheckFrame(level + " cursor moved", [] { MoveCursorToDesign(0, -250); });
    for (Point buy : {battle_test::KNIGHT_UP, battle_test::SPEARMAN_DOWN})
        ClickAndPlay(level + " troops", buy, 150);
    TapKey(VK_ESCAPE);
    Play(level + " pause scroll", 60);
    const Point pages[][2] = {{SETTINGS_ROW, PAUSE_SETTINGS_BACK},
                              {PAUSE_HOW_TO_PLAY, PAUSE_HTP_BACK},
                              {EXIT_ROW, EXIT_BACK},
                              {RESTART, PAUSE_NO}};
    for (const auto& page : pages) {
        ClickAndPlay(level + " pause page", page[0], 15);
        ClickAndPlay(level + " pause scroll", page[1], 15);
    }
    ClickAndPlay(level + " pause credits", PAUSE_CREDITS, 30);
    TapKey(VK_SPACE);
    ClickAndPlay(level + " continued", CONTINUE_ROW, 30);
}

// K wins the level: its closing curtain, then the win screen.
void WinLevel(const std::string& level) {
    TapKey('K');
    Play(level + " closing curtain", 60);
    Reach(GS_WIN, level + " won", 105);
}

TEST(PictureTest, EveryScreenLooksAsTheReferenceDrawsItWithBlackBars) {
    StartTestEngine(true);
    ResetToProgramStart();
    battleSeedOverride = 7;
    StartGame(GS_SPLASH);
    Play("splash", 120);
    Reach(GS_MAIN_MENU, "menu", 90);
    ClickAndPlay("menu settings", MENU_SETTINGS, 30);
    ClickAndPlay("menu", MENU_SETTINGS, 15);
    ClickAndPlay("quit dialog", MENU_QUIT, 15);
    ClickAndPlay("menu", MENU_NO, 15);
    Click(MENU_HOW_TO_PLAY);
    Reach(GS_HOW_TO_PLAY, "how to play", 60);
    TapKey(VK_SPACE);
    Reach(GS_MAIN_MENU, "menu", 15);
    Click(MENU_CREDITS);
    Reach(GS_LOGO_CREDITS, "credits", 150);
    TapKey('M');
    Reach(GS_MAIN_MENU, "menu", 15);
    ClickAndPlay("menu closing", MENU_PLAY, 30);
    Reach(GS_HOUSE_SELECT, "house selection", 30);
    ClickAndPlay("house chosen", HOUSE_SELECTORS[HOUSE_WISEMEN], 30);
    Reach(GS_LEVEL1, "level 1", 60);
    PlayLevel("level 1");
    WinLevel("level 1");
    Click(END_RIGHT);
    Reach(GS_LEVEL2, "level 2", 60);
    PlayLevel("level 2");
    WinLevel("level 2");
    Click(END_RIGHT);
    Reach(GS_LEVEL3, "level 3", 60);
    PlayLevel("level 3");
    RunFramesUntil(BattleEnded, 60 * 60 * 10); // the enemy takes the castle
    ASSERT_TRUE(BattleState::battleLost);
    Play("level 3 lost", 60);
    Reach(GS_LOSE, "lose", 105);
    Click(END_RIGHT);
    Reach(GS_LEVEL3, "level 3 again", 60);
    WinLevel("level 3 (final picture)");
    Click(FINAL_MENU);
    Reach(GS_MAIN_MENU, "menu after the final picture", 30);
    EXPECT_LT(blankFrames, checkedFrames / 10) << "frames checked: " << checkedFrames;
    EXPECT_GT(redrawnFrames, checkedFrames / 4) << "frames checked: " << checkedFrames;
    StopTestEngine();
}

// The menu, a battle, 200 troops, the pause scroll and a resize (its frame and
// after) full screen on ctest's display, or windowed (MORROW_TEST_WINDOW 1280x720,
// or 960x540 through the menu's settings), with MORROW_TEST_SAMPLES sample buffers.
TEST(PictureTest, MenuBattleAndPauseScrollAtThisSize) {
    const char *window = getenv("MORROW_TEST_WINDOW"), *samples = getenv("MORROW_TEST_SAMPLES");
    PlatformSetMultisampling(samples ? atoi(samples) : 0);
    StartTestEngine(window == nullptr);
    ResetToProgramStart();
    battleSeedOverride = 7;
    StartGame(GS_MAIN_MENU);
    Reach(GS_MAIN_MENU, "menu", 30);
    if (window && std::string(window) == "960x540")
        for (Point click : {MENU_SETTINGS, MENU_RESOLUTION_LEFT, MENU_SETTINGS})
            ClickAndPlay("menu settings", click, 15);
    MenuToLevel1(HOUSE_WISEMEN);
    RunFramesUntil(IntroGone, 200);
    ClickAndPlay("level 1 troops", battle_test::KNIGHT_UP, 30);
    for (bool up : {false, true})
        for (int i = 0; i < 100; i++) // 50 a side in each lane, front ranks first
            if (GameObject* troop = i % 2 ? SpawnEnemyTroop((TroopType)(i % 3), up)
                                          : SpawnPlayerTroop((TroopType)(i % 3), up))
                troop->position[0] = (i % 2 ? 1 : -1) * (110 + 8 * (i / 2));
    Play("200 troops", 30);
    TapKey(VK_ESCAPE);
    Play("pause scroll", 30);
    if (samples == nullptr) { // with sample buffers every frame is drawn whole, into the window
        EXPECT_GT(redrawnFrames, checkedFrames / 4) << "frames checked: " << checkedFrames;
    }
    if (getenv("MORROW_TEST_SHORT")) return StopTestEngine(); // no resize
    ClickAndPlay("pause settings", SETTINGS_ROW, 15);
    MoveCursorToDesign(PAUSE_RESOLUTION_LEFT.x, PAUSE_RESOLUTION_LEFT.y); // fits the display
    MouseDown();
    const int before = windowWidth;
    Play("the frame of a resize", 1);
    EXPECT_NE(windowWidth, before);
    MouseUp();
    Play("after a resize", 15);
    StopTestEngine();
}

} // namespace
