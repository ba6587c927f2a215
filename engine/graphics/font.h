// Fonts and text: the game's TrueType font baked with stb_truetype into a
// square glyph atlas for the characters 32 to 196 (rows uploaded bottom
// first), layout by advances, kerning and line height, the list of live fonts,
// and printing a string as a textured, tinted mesh at the current transform.
// Depends on the graphics device, meshes and textures.
#pragma once

#include <cstdint>

struct Mesh;
struct Texture;

enum { FONT_FIRST_CHAR = 32, FONT_END_CHAR = 197, FONT_GLYPH_COUNT = 165 };

struct GlyphData {
    float pixelHeight;
    float lineHeight;
    // Per glyph: code, left, bottom, right, top, u left, v bottom, u right, v top, advance.
    float glyphs[FONT_GLYPH_COUNT][10];
    float kerning[FONT_GLYPH_COUNT][FONT_GLYPH_COUNT];
};

struct Font {
    char name[256];
    uint32_t pixelHeight;
    GlyphData* glyphData;
    Texture* atlas;
};

// Bakes the game font at `pixelHeight` into an atlas of side atlasScale × 256;
// null and a stderr line when the font file cannot be read.
Font* LoadFont(uint32_t pixelHeight, float atlasScale);
// Same, from any font file (tests and tools).
Font* LoadFontFile(const char* path, uint32_t pixelHeight, float atlasScale);
void FreeFont(Font* font);
// Mesh of the text's glyphs from the pen at (0, 0); null for empty text.
Mesh* BuildTextMesh(Font* font, const char* text);
// Prints `text` at the current model transform in `color`.
void PrintText(const char* text, Font* font, uint32_t color);
int FontCount();
void FreeAllFonts();

// Observer told of every PrintText (text, colour, model transform in force);
// tests record the texts a frame prints. Null for none.
typedef void (*PrintTextObserver)(const char* text, uint32_t color, const float model[4][4]);
void SetPrintTextObserver(PrintTextObserver observer);
