// Fuzz target: text layout. Each input is a string of arbitrary bytes (any
// byte but the terminating zero, including newlines and characters the atlas
// lacks) laid out with BuildTextMesh and printed with PrintText in the game's
// font at both sizes the game bakes (20 and 29 pixels). The mesh must hold two
// triangles per character that has a glyph (up to the builder's cap), and a
// print must leave no mesh behind and put the render state back.
// Depends on the engine (fuzz_engine.h), fonts, meshes and the device.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/graphics/device.h"
#include "engine/graphics/font.h"
#include "engine/graphics/mesh.h"
#include "fuzz_engine.h"

#ifndef MORROW_FUZZ_DATA_BASE
#error "MORROW_FUZZ_DATA_BASE names the folder that holds the game's data folder"
#endif

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

namespace {

// The two sizes the game bakes its font at (levels, main menu).
Font* fonts[2] = {nullptr, nullptr};
const uint32_t COLORS[4] = {0xFF000000, 0xFFFFFFFF, 0xFFFF0000, 0x80FFFFFF};
int meshesAtStart = 0;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Characters of the text that have a glyph record (newlines and bytes outside
// the atlas draw nothing).
uint32_t GlyphCharacters(const std::string& text) {
    uint32_t count = 0;
    for (unsigned char c : text)
        count += c >= FONT_FIRST_CHAR && c < FONT_END_CHAR;
    return count;
}

// Lays the text out and checks the mesh against the characters it holds.
void CheckLayout(Font* font, const std::string& text) {
    Mesh* mesh = BuildTextMesh(font, text.c_str());
    uint32_t triangles = 2 * GlyphCharacters(text);
    if (triangles > MESH_MAX_TRIANGLES) triangles = MESH_MAX_TRIANGLES;
    if (triangles == 0) {
        FuzzCheck(mesh == nullptr, "a text without glyphs has no mesh");
        return;
    }
    FuzzCheck(mesh != nullptr, "a text with glyphs has a mesh");
    FuzzCheck(mesh->vertexCount == (int32_t)(3 * triangles), "two triangles per glyph");
    FreeMesh(mesh);
}

// Prints the text and checks the render state it must put back.
void CheckPrint(Font* font, const std::string& text, uint32_t color) {
    const bool tintBefore = useTint;
    const uint32_t tintColorBefore = tintColor;
    Texture* const textureBefore = boundTexture;
    PrintText(text.c_str(), font, color);
    FuzzCheck(useTint == tintBefore && tintColor == tintColorBefore, "tint restored");
    FuzzCheck(boundTexture == textureBefore, "bound texture restored");
}

} // namespace

// ---------------------------------------------------------------------------
// libFuzzer entry points
// ---------------------------------------------------------------------------

// Starts the engine on the game's data folder and bakes the font twice.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartFuzzEngine(MORROW_FUZZ_DATA_BASE);
    fonts[0] = LoadFont(20, 1.0f);
    fonts[1] = LoadFont(29, 1.0f);
    FuzzCheck(fonts[0] != nullptr && fonts[1] != nullptr, "the game's font loads");
    meshesAtStart = MeshCount();
    return 0;
}

// First byte: font and colour; the rest: the text (cut at a zero byte, as a C string is).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    Font* font = fonts[data[0] & 1];
    const uint32_t color = COLORS[(data[0] >> 1) & 3];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    text.resize(strlen(text.c_str()));
    MeshBuilderReset(); // a frame starts with an empty builder
    CheckLayout(font, text);
    CheckPrint(font, text, color);
    FuzzCheck(MeshCount() == meshesAtStart, "no mesh left behind");
    return 0;
}
