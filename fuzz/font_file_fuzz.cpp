// Fuzz target: font files. Each input is written as a font file and baked with
// LoadFontFile at the levels' size (20 pixels, 256 by 256 atlas); a font that
// loads lays out and prints every character it has a glyph for and is freed.
// A refused file must leave no font or texture behind.
// stb_truetype is compiled into this target (stb_instrumented.c) so that the
// sanitizers see inside it.
// Depends on the engine (fuzz_engine.h), fonts, meshes and textures.
#include <cstdint>
#include <string>

#include "engine/graphics/font.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "fuzz_engine.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

namespace {

std::string fontFile;
std::string everyCharacter; // 32 to 196 with a newline in the middle
int texturesAtStart = 0;
int meshesAtStart = 0;

} // namespace

// ---------------------------------------------------------------------------
// libFuzzer entry points
// ---------------------------------------------------------------------------

// Starts the engine on a scratch folder.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string& base = FuzzScratchDir();
    fontFile = base + "/Fuzzed.ttf";
    StartFuzzEngine(base);
    for (int c = FONT_FIRST_CHAR; c < FONT_END_CHAR; ++c) {
        everyCharacter += (char)c;
        if (c == 100) everyCharacter += '\n';
    }
    texturesAtStart = TextureCount();
    meshesAtStart = MeshCount();
    return 0;
}

// One font file: bake it, print with it, free it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFuzzFile(fontFile, data, size);
    Font* font = LoadFontFile(fontFile.c_str(), 20, 1.0f);
    if (font != nullptr) {
        FuzzCheck(FontCount() == 1 && font->atlas != nullptr, "a loaded font has its atlas");
        MeshBuilderReset();
        Mesh* mesh = BuildTextMesh(font, everyCharacter.c_str());
        FreeMesh(mesh);
        PrintText("Money: 150", font, 0xFF000000);
        FreeFont(font);
    }
    FuzzCheck(FontCount() == 0, "no font left behind");
    FuzzCheck(TextureCount() == texturesAtStart, "no atlas left behind");
    FuzzCheck(MeshCount() == meshesAtStart, "no mesh left behind");
    return 0;
}
