// Where a frame's CPU goes, per draw call: the main menu, level 1 with a few
// troops and the 200-troop battle of the real game, full screen at the
// display's size. Each draw call, the clear, the debug interface's frame and
// the swap are wrapped (the linker's --wrap, see bench/CMakeLists.txt) and
// fenced with glFinish, so the software rasterizer's work lands on the call
// that caused it. Prints, per screen, each draw's picture, its size, the
// pixels it covers on the screen, whether the picture has any transparent
// pixel, and its CPU and wall time; then the same frame again with the depth
// test off and with blending off, to show what each costs.
// With "full" every draw is made in full (the lean paths off, see
// engine/graphics/render_paths.h), as the renderer always drew before them.
// Usage: draw_bench [frames per figure (default 20)] [lean|full]   (needs a display)
#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/settings.h"
#include "battle/battle_objects.h"
#include "battle/battle_state.h"
#include "bench/state_probe.h"
#include "engine/file.h"
#include "engine/graphics/device.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/render_paths.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "objects/game_object.h"
#include "screens/registry.h"

// ---------------------------------------------------------------------------
// Types and globals
// ---------------------------------------------------------------------------

// The draw calls of one picture, summed over the recorded frames.
struct DrawRow {
    std::string picture;
    int textureWidth = 0, textureHeight = 0;
    bool transparent = false;
    int calls = 0;
    double coveredPixels = 0, cpu = 0, wall = 0;
};

// A part of the frame outside the draw calls.
struct FramePart {
    double cpu = 0, wall = 0;
};

static bool recording = false;
static std::vector<DrawRow> rows; // in order of first use
static std::map<std::string, FramePart> parts;
static std::map<unsigned, bool> transparency; // by GL texture name
static bool depthOff = false, blendOff = false;

extern "C" void __real__Z8DrawMeshP4Mesh(Mesh* mesh);
extern "C" void __real__Z10ClearFramev();
extern "C" void __real__Z13RenderDebugUiv();
extern "C" void __real__Z19PlatformSwapBuffersv();

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Whether a texture has a pixel that is not fully opaque (read back once).
static bool HasTransparentPixel(const Texture* texture) {
    auto known = transparency.find(texture->glName);
    if (known != transparency.end()) return known->second;
    std::vector<unsigned char> pixels((size_t)texture->width * texture->height * 4);
    BindTextureName(texture->glName);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    bool any = false;
    for (size_t i = 3; i < pixels.size() && !any; i += 4)
        any = pixels[i] != 255;
    return transparency[texture->glName] = any;
}

// Screen pixels the unit square covers under the model transform (its box,
// clipped to the window).
static double CoveredPixels() {
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (float cx : {-0.5f, 0.5f})
        for (float cy : {-0.5f, 0.5f}) {
            float x = modelTransform[0][0] * cx + modelTransform[0][1] * cy + modelTransform[0][3];
            float y = modelTransform[1][0] * cx + modelTransform[1][1] * cy + modelTransform[1][3];
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    double w = std::min(maxX, worldMaxX) - std::max(minX, worldMinX);
    double h = std::min(maxY, worldMaxY) - std::max(minY, worldMinY);
    return w > 0 && h > 0 ? w * h : 0;
}

// Runs `call` between two glFinish fences and adds its times to `cpu`/`wall`.
template <typename Call> static void Fenced(Call call, double& cpu, double& wall) {
    glFinish();
    double c0 = ProcessCpuSeconds(), w0 = WallSeconds();
    call();
    glFinish();
    cpu += ProcessCpuSeconds() - c0;
    wall += WallSeconds() - w0;
}

// The row of the bound picture (and of text, which is not a unit square).
static DrawRow& RowFor(const Mesh* mesh) {
    std::string picture = "(no texture)";
    const Texture* texture = boundTexture;
    if (texture) {
        std::string name = texture->name;
        picture = name.substr(name.find_last_of("\\/") + 1);
    }
    if (mesh->vertexCount != 6) picture += " (text)";
    for (DrawRow& row : rows)
        if (row.picture == picture) return row;
    DrawRow row;
    row.picture = picture;
    if (texture) {
        row.textureWidth = texture->width, row.textureHeight = texture->height;
        row.transparent = HasTransparentPixel(texture);
    }
    rows.push_back(row);
    return rows.back();
}

// The wrapped engine calls.
extern "C" void __wrap__Z8DrawMeshP4Mesh(Mesh* mesh) {
    if (!recording || mesh == nullptr) return __real__Z8DrawMeshP4Mesh(mesh);
    DrawRow& row = RowFor(mesh);
    row.calls++;
    if (mesh->vertexCount == 6) row.coveredPixels += CoveredPixels();
    if (depthOff) glDisable(GL_DEPTH_TEST);
    if (blendOff) glDisable(GL_BLEND);
    Fenced([&] { __real__Z8DrawMeshP4Mesh(mesh); }, row.cpu, row.wall);
}
extern "C" void __wrap__Z10ClearFramev() {
    if (!recording) return __real__Z10ClearFramev();
    Fenced(__real__Z10ClearFramev, parts["clear"].cpu, parts["clear"].wall);
}
extern "C" void __wrap__Z13RenderDebugUiv() {
    if (!recording) return __real__Z13RenderDebugUiv();
    Fenced(__real__Z13RenderDebugUiv, parts["debug interface"].cpu, parts["debug interface"].wall);
}
extern "C" void __wrap__Z19PlatformSwapBuffersv() {
    if (!recording) return __real__Z19PlatformSwapBuffersv();
    Fenced(__real__Z19PlatformSwapBuffersv, parts["swap"].cpu, parts["swap"].wall);
}

// Steps `frames` frames and sums their draws per picture.
static void RecordFrames(int frames) {
    rows.clear();
    parts.clear();
    const bool depth = glIsEnabled(GL_DEPTH_TEST), blend = glIsEnabled(GL_BLEND);
    recording = true;
    for (int i = 0; i < frames; i++)
        StepGameStateManager();
    recording = false;
    depth ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
    blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
}

// Prints the recorded frames per picture, in order of first use.
static void PrintBreakdown(const char* title, int frames) {
    RecordFrames(frames);
    double totalCpu = 0, totalWall = 0, pixels = 0;
    int calls = 0;
    for (const DrawRow& r : rows)
        totalCpu += r.cpu, totalWall += r.wall, pixels += r.coveredPixels, calls += r.calls;
    const double screen = (worldMaxX - worldMinX) * (worldMaxY - worldMinY);
    printf("%s: %.0f draw calls a frame covering %.1f screens of pixels (mean of %d frames)\n",
           title, (double)calls / frames, pixels / frames / screen, frames);
    printf("  %-34s %6s %11s %8s %5s %7s %7s\n", "picture", "calls", "texture", "Mpixels", "alpha",
           "CPU ms", "wall ms");
    for (const DrawRow& r : rows) {
        char size[32] = "";
        if (r.textureWidth) snprintf(size, sizeof size, "%dx%d", r.textureWidth, r.textureHeight);
        printf("  %-34.34s %6.1f %11s %8.2f %5s %7.2f %7.2f\n", r.picture.c_str(),
               (double)r.calls / frames, size, r.coveredPixels / frames / 1e6,
               r.transparent ? "yes" : "no", r.cpu * 1e3 / frames, r.wall * 1e3 / frames);
    }
    printf("  %-34s %6s %11s %8s %5s %7.2f %7.2f\n", "all draw calls", "", "", "", "",
           totalCpu * 1e3 / frames, totalWall * 1e3 / frames);
    for (const auto& [name, part] : parts)
        printf("  %-34s %6s %11s %8s %5s %7.2f %7.2f\n", name.c_str(), "", "", "", "",
               part.cpu * 1e3 / frames, part.wall * 1e3 / frames);
}

// The same frames with the depth test off, then blending off too: totals only.
static void PrintStateCosts(int frames) {
    const char* names[] = {"as drawn", "without the depth test", "without depth test, blending"};
    for (int variant = 0; variant < 3; variant++) {
        depthOff = variant >= 1;
        blendOff = variant >= 2;
        RecordFrames(frames);
        double cpu = 0, wall = 0;
        for (const DrawRow& r : rows)
            cpu += r.cpu, wall += r.wall;
        printf("  draw calls %-30s CPU %7.2f ms, wall %7.2f ms\n", names[variant],
               cpu * 1e3 / frames, wall * 1e3 / frames);
    }
    depthOff = blendOff = false;
}

// Steps frames without recording; false when the state changed.
static bool Step(int frames, int32_t state) {
    for (int i = 0; i < frames; i++) {
        StepGameStateManager();
        if (currentState != state) return false;
    }
    return true;
}

// Spawns `perLane` troops of each side in each lane, spread over the field.
static void Spawn(int perLane) {
    for (bool upLane : {false, true})
        for (bool enemy : {false, true})
            for (int i = 0; i < perLane; i++) {
                GameObject* troop = enemy ? SpawnEnemyTroop((TroopType)(i % TROOP_TYPES), upLane)
                                          : SpawnPlayerTroop((TroopType)(i % TROOP_TYPES), upLane);
                float x = 110 + 400.0f * i / std::max(1, perLane - 1);
                if (troop) troop->position[0] = enemy ? x : -x;
            }
}

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    const bool full = argc > 2 && std::string(argv[2]) == "full";
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SetGameBaseDir(MORROW_BUILD_DIR);
    PlatformSetMessageBoxesSilent(true);
    if (StartEngine(true) >= 0) return 1;
    SetLeanRendering(!full);
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    printf("Draw profile at %dx%d full screen, %s paths (each call fenced by glFinish)\n\n", width,
           height, full ? "full" : "lean");
    RegisterGameStates();
    house = HOUSE_NOBLEMEN;
    battleSeedOverride = 12345;

    EnterFirstState(GS_MAIN_MENU);
    if (Step(180, GS_MAIN_MENU)) { // past the opening curtain
        PrintBreakdown("Main menu, idle", frames);
        PrintStateCosts(frames);
    }
    printf("\n");
    nextState = GS_LEVEL1;
    StepGameStateManager();
    if (Step(150, GS_LEVEL1)) {
        battle->downWaveInterval = battle->upWaveInterval = 1e9f;
        Spawn(2);
        Step(5, GS_LEVEL1);
        PrintBreakdown("Level 1, 8 troops", frames);
        PrintStateCosts(frames);
        printf("\n");
        Spawn(48);
        Step(5, GS_LEVEL1);
        PrintBreakdown("Level 1, 200 troops", frames);
        PrintStateCosts(frames);
    }
    nextState = GS_QUIT;
    while (StepGameStateManager()) {
    }
    ShutdownEngine();
    return 0;
}
