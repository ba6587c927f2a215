// Contrast of every HUD text of the real game, measured from pixels: plays
// from the program's start through the real state manager (splash, menu,
// house, each level, the K shortcut and Next level), and in each level
// captures the field once with no HUD text and once with each text alone
// (PrintText is wrapped at link time). The text's pixels are those that
// change; the background is the text-free frame around them. Prints one row
// per text: level, row, colour, background median, contrast against the
// median and against the worst tenth of the background. With a folder it
// also saves the frames a player sees (the HUD, the buy card under each
// hover, a fight in both lanes, the win screen's hovered button) as PNG.
// Usage: hud_contrast_bench [--windowed] [png-folder]
//        (under xvfb-run -s "-screen 0 1920x1080x24"; full screen by default)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "app/window.h"
#include "harness/harness.h"
#include "harness/screen_helpers.h"

using namespace screen_test;

struct Font;
extern "C" void __real__Z9PrintTextPKcP4Fontj(const char* text, Font* font, uint32_t color);

// Which texts of a frame are printed: -1 all, -2 none, else that index.
static int shownText = -1;
static int printedCount = 0;

extern "C" void __wrap__Z9PrintTextPKcP4Fontj(const char* text, Font* font, uint32_t color) {
    int index = printedCount++;
    if (shownText == -1 || shownText == index) __real__Z9PrintTextPKcP4Fontj(text, font, color);
}

// ---------------------------------------------------------------------------
// Measuring
// ---------------------------------------------------------------------------

static double Linear(double c) {
    c /= 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Relative luminance of a pixel or a 0xAARRGGBB colour.
static double Luminance(int r, int g, int b) {
    return 0.2126 * Linear(r) + 0.7152 * Linear(g) + 0.0722 * Linear(b);
}

static double Contrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

static Screenshot Capture(int shown) {
    shownText = shown;
    printedCount = 0;
    Screenshot shot = CaptureFrame();
    shownText = -1;
    return shot;
}

static void SavePng(const Screenshot& shot, const char* folder, const std::string& name) {
    if (!folder) return;
    std::string path = std::string(folder) + "/" + name + ".png";
    stbi_write_png(path.c_str(), shot.width, shot.height, 4, shot.rgba.data(), shot.width * 4);
}

// The text's row number by what it prints (rows 11 and 12 share a place).
static int RowOf(const std::string& text, float x) {
    static const struct {
        const char* start;
        int row;
    } ROWS[] = {{"KNIGHT", 1},  {"SPEARMAN", 2},   {"HORSEMAN", 3},  {"THIEF", 4},
                {"MONEY", 5},   {"You can sp", 6}, {" Cooldown", 7}, {"Allies", 8},
                {"Enemies", 9}, {"300$", 10},      {"Catapult", 11}, {"You can Sh", 12}};
    for (const auto& r : ROWS)
        if (text.compare(0, strlen(r.start), r.start) == 0) return r.row;
    int column = x < -550 ? 0 : (x < -420 ? 1 : 2);
    if (text.find("Upgrade:") == 0) return 13 + column;
    if (text.find("TO UPGRADE") != std::string::npos) return 16 + column;
    return 0;
}

static bool measured[19];

// Measures every text of the current frame not measured yet in this level.
static void MeasureTexts(int level) {
    std::vector<PrintedText> texts = RecordPrintedTexts();
    for (size_t i = 0; i < texts.size(); i++) {
        const PrintedText& t = texts[i];
        float scale = t.scale; // pixels per font unit (font height 20)
        int row = RowOf(t.text, t.x / (windowWidth / 1280.0f));
        if (row == 0 || measured[row]) continue;
        Screenshot bare = Capture(-2);
        Screenshot shot = Capture(static_cast<int>(i));
        Screenshot after = Capture(-2); // the field's own changes (rain) are not text
        // where the text may be: right of its origin, a line high
        int ox = bare.width / 2 + static_cast<int>(t.x),
            oy = bare.height / 2 - static_cast<int>(t.y);
        int x0 = std::max(0, ox - static_cast<int>(4 * scale));
        int x1 = std::min(bare.width, ox + static_cast<int>(16 * scale * t.text.size()));
        int y0 = std::max(0, oy - static_cast<int>(24 * scale));
        int y1 = std::min(bare.height, oy + static_cast<int>(10 * scale));
        int bx0 = bare.width, bx1 = -1, by0 = bare.height, by1 = -1;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) {
                const uint8_t* a = &bare.rgba[((size_t)y * bare.width + x) * 4];
                const uint8_t* b = &shot.rgba[((size_t)y * bare.width + x) * 4];
                const uint8_t* c = &after.rgba[((size_t)y * bare.width + x) * 4];
                if (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) < 40 ||
                    std::abs(a[0] - c[0]) + std::abs(a[1] - c[1]) + std::abs(a[2] - c[2]) >= 40)
                    continue;
                bx0 = std::min(bx0, x), bx1 = std::max(bx1, x);
                by0 = std::min(by0, y), by1 = std::max(by1, y);
            }
        if (bx1 < 0) continue;
        // the background: the text-free frame over the text's box and a
        // margin of a quarter of its line height
        int m = static_cast<int>(5 * scale + 1);
        std::vector<double> around;
        for (int y = std::max(0, by0 - m); y <= std::min(bare.height - 1, by1 + m); y++)
            for (int x = std::max(0, bx0 - m); x <= std::min(bare.width - 1, bx1 + m); x++) {
                const uint8_t* p = &bare.rgba[((size_t)y * bare.width + x) * 4];
                around.push_back(Luminance(p[0], p[1], p[2]));
            }
        std::sort(around.begin(), around.end());
        double text = Luminance((t.color >> 16) & 255, (t.color >> 8) & 255, t.color & 255);
        double median = around[around.size() / 2];
        // the tenth of the background closest to the text's own lightness
        double worst = text > median ? around[around.size() * 9 / 10] : around[around.size() / 10];
        bool red = ((t.color >> 16) & 255) > 128 && ((t.color >> 8) & 255) < 64;
        double goal = red ? 3.0 : 4.5;
        double c = Contrast(text, median);
        // the text's box in layout units (x right, y up from the centre)
        float unit = bare.width / 1280.0f;
        printf("%d  %4dx%-4d  %2d  %-24s  %08X  %6.3f  %5.2f  %5.2f  %4.1f  %-3s  x %4.0f..%4.0f  "
               "y %4.0f..%4.0f\n",
               level, bare.width, bare.height, row, ("\"" + t.text + "\"").c_str(), t.color, median,
               c, Contrast(text, worst), goal, c >= goal ? "ok" : "LOW",
               (bx0 - bare.width / 2) / unit, (bx1 - bare.width / 2) / unit,
               (bare.height / 2 - by1) / unit, (bare.height / 2 - by0) / unit);
        measured[row] = true;
    }
}

// ---------------------------------------------------------------------------
// Playing
// ---------------------------------------------------------------------------

static int awaited;
static bool IntroGone() {
    return battle && battle->introWallGone;
}

static void WaitForState(int state) {
    awaited = state;
    RunFramesUntil([] { return currentState == awaited; }, 600);
    if (currentState != state) {
        fprintf(stderr, "hud_contrast_bench: state %d never came (in %d)\n", state, currentState);
        exit(1);
    }
}

// Plays a level far enough to show every row: a thief (the buy cooldown),
// thieves until the catapult is affordable, the catapult (its cooldown) and
// its readiness; then troops into both lanes until both fight.
static void PlayLevel(int level, const char* folder) {
    std::fill(std::begin(measured), std::end(measured), false);
    RunFrames(1);
    RunFramesUntil(IntroGone, 300);
    Screenshot hud = Capture(-1);
    char size[32];
    snprintf(size, sizeof size, "%dx%d", hud.width, hud.height);
    std::string tag = "L" + std::to_string(level) + "_" + size;
    SavePng(hud, folder, tag + "_hud");
    MeasureTexts(level);
    const Point hovered[] = {KNIGHT_UP, KNIGHT_DOWN, KNIGHT_UPGRADE, FIELD};
    const char* const hoverNames[] = {"up", "down", "upgrade", "rest"};
    for (int i = 0; i < 4; i++) {
        Hover(hovered[i]);
        SavePng(Capture(-1), folder, tag + "_card_" + hoverNames[i]);
    }
    Click(THIEF);
    MeasureTexts(level);
    for (int frames = 0; BattleState::money < 300 && frames < 20000; frames += 30) {
        if (!BattleState::thiefOut && battle->spawnCooldown <= 0 && BattleState::money >= 50)
            Click(THIEF);
        RunFrames(30);
    }
    Click(CANNON);
    MeasureTexts(level);
    RunFramesUntil([] { return battle->catapultCooldown <= 0; }, 900);
    MeasureTexts(level);
    for (int round = 0; round < 40; round++) {
        bool up = ObjectsNamed("DustUp").size(), down = ObjectsNamed("DustDown").size();
        if (up && down) break;
        if (battle->spawnCooldown <= 0 && BattleState::money >= 30)
            Click(up ? KNIGHT_DOWN : KNIGHT_UP);
        RunFrames(60);
    }
    SavePng(Capture(-1), folder, tag + "_fight");
}

int main(int argc, char** argv) {
    bool windowed = argc > 1 && strcmp(argv[1], "--windowed") == 0;
    const char* folder = argc > 1 + windowed ? argv[1 + windowed] : nullptr;
    StartTestEngine(!windowed);
    srand(7);
    StartGame(GS_SPLASH);
    RunFrames(3);
    TapKey(VK_SPACE);
    RunFrames(5);
    Click(MENU_PLAY);
    WaitForState(GS_HOUSE_SELECT);
    RunFrames(5);
    ClickDesign(-500, 100); // Noblemen
    printf("level window    row text                      colour    bg-lum  median worst10%% goal  "
           "    text box\n");
    const int levels[] = {GS_LEVEL1, GS_LEVEL2, GS_LEVEL3};
    for (int level = 1; level <= 3; level++) {
        WaitForState(levels[level - 1]);
        PlayLevel(level, folder);
        TapKey('K');
        WaitForState(GS_WIN);
        RunFrames(90);
        Hover(END_RIGHT);
        if (level < 3) {
            char name[64];
            snprintf(name, sizeof name, "win%d_%dx%d_next_hover", level, windowWidth, windowHeight);
            SavePng(Capture(-1), folder, name);
            Click(END_RIGHT);
        }
    }
    StopTestEngine();
    return 0;
}
