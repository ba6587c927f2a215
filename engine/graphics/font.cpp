// Fonts and text (see font.h).
// Depends on the graphics device (render globals), meshes, textures, the
// scene rules (nothing built while hidden) and the game file layer.
#include "engine/graphics/font.h"

#include <stb_rect_pack.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "engine/file.h"
#include "engine/graphics/device.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/scene.h"
#include "engine/graphics/texture.h"

namespace {

// Slots of a glyph record.
enum GlyphField {
    GLYPH_CODE,
    GLYPH_LEFT,
    GLYPH_BOTTOM,
    GLYPH_RIGHT,
    GLYPH_TOP,
    GLYPH_U_LEFT,
    GLYPH_V_BOTTOM,
    GLYPH_U_RIGHT,
    GLYPH_V_TOP,
    GLYPH_ADVANCE,
};

const uint32_t WHITE = 0xFFFFFFFF;
const char* const FONT_PATH = "data\\Font\\TrajanPro-Regular.ttf";
// Largest atlas side accepted (a 256 MB coverage bitmap is not a font atlas).
const int MAX_ATLAS_SIDE = 8192;

std::vector<Font*> fontList;
PrintTextObserver printTextObserver = nullptr;

// Big-endian 32-bit read from the font's table directory.
uint32_t ReadU32(const unsigned char* p) {
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

// stb_truetype trusts its input: check that the first font's table directory
// and every table it lists lie inside the file before handing it over.
bool FontTablesInsideFile(const unsigned char* bytes, size_t size) {
    if (size < 16) return false; // a collection's header reads 16 bytes
    const int offset = stbtt_GetFontOffsetForIndex(bytes, 0);
    if (offset < 0 || (size_t)offset + 12 > size) return false;
    const uint32_t tableCount = ReadU32(&bytes[offset + 4]) >> 16; // a 16-bit count
    if ((size_t)offset + 12 + (size_t)tableCount * 16 > size) return false;
    for (uint32_t i = 0; i < tableCount; ++i) {
        const unsigned char* record = &bytes[offset + 12 + i * 16];
        if ((uint64_t)ReadU32(record + 8) + ReadU32(record + 12) > size) return false;
    }
    return true;
}

// Glyph boxes, atlas rectangles and advances of the 165 characters, and the
// kerning between every pair, all scaled to pixels.
void FillGlyphData(const stbtt_fontinfo& info, const stbtt_packedchar* packed, int side,
                   uint32_t pixelHeight, GlyphData* data) {
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    const float scale = (float)pixelHeight / (float)(ascent - descent);
    data->pixelHeight = (float)pixelHeight;
    data->lineHeight = (float)(ascent - descent + lineGap) * scale;
    int glyphIndex[FONT_GLYPH_COUNT];
    for (int i = 0; i < FONT_GLYPH_COUNT; ++i) {
        const int code = FONT_FIRST_CHAR + i;
        glyphIndex[i] = stbtt_FindGlyphIndex(&info, code);
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0, advance = 0, bearing = 0;
        stbtt_GetGlyphBox(&info, glyphIndex[i], &x0, &y0, &x1, &y1);
        stbtt_GetGlyphHMetrics(&info, glyphIndex[i], &advance, &bearing);
        float* g = data->glyphs[i];
        g[GLYPH_CODE] = (float)code;
        g[GLYPH_LEFT] = x0 * scale;
        g[GLYPH_BOTTOM] = y0 * scale;
        g[GLYPH_RIGHT] = x1 * scale;
        g[GLYPH_TOP] = y1 * scale;
        g[GLYPH_U_LEFT] = packed[i].x0 / (float)side;
        g[GLYPH_V_BOTTOM] = 1.0f - packed[i].y1 / (float)side;
        g[GLYPH_U_RIGHT] = packed[i].x1 / (float)side;
        g[GLYPH_V_TOP] = 1.0f - packed[i].y0 / (float)side;
        g[GLYPH_ADVANCE] = advance * scale;
    }
    for (int a = 0; a < FONT_GLYPH_COUNT; ++a)
        for (int b = 0; b < FONT_GLYPH_COUNT; ++b)
            data->kerning[a][b] =
                stbtt_GetGlyphKernAdvance(&info, glyphIndex[a], glyphIndex[b]) * scale;
}

// The coverage bitmap as RGBA (c, c, c, c), last row first.
std::vector<unsigned char> CoverageToAtlasPixels(const std::vector<unsigned char>& coverage,
                                                 int side) {
    std::vector<unsigned char> rgba((size_t)side * side * 4);
    for (int row = 0; row < side; ++row) {
        const unsigned char* source = &coverage[(size_t)(side - 1 - row) * side];
        unsigned char* target = &rgba[(size_t)row * side * 4];
        for (int x = 0; x < side; ++x)
            memset(target + x * 4, source[x], 4);
    }
    return rgba;
}

// Index of a character's glyph record, or -1 for one the atlas lacks. The
// text is read as unsigned bytes: a plain char may be signed.
int GlyphSlot(unsigned char c) {
    if (c < FONT_FIRST_CHAR || c >= FONT_END_CHAR) return -1;
    return c - FONT_FIRST_CHAR;
}

// The packer sizes each glyph's rectangle from its box; an inverted box gives
// a negative size that walks it off its node list, so such a font is refused.
bool GlyphBoxesUpright(const stbtt_fontinfo& info) {
    for (int code = FONT_FIRST_CHAR; code < FONT_END_CHAR; ++code) {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        int glyph = stbtt_FindGlyphIndex(&info, code);
        if (glyph && stbtt_GetGlyphBox(&info, glyph, &x0, &y0, &x1, &y1) && (x1 < x0 || y1 < y0))
            return false;
    }
    return true;
}

} // namespace

// The game's font.
Font* LoadFont(uint32_t pixelHeight, float atlasScale) {
    return LoadFontFile(FONT_PATH, pixelHeight, atlasScale);
}

// Bakes a font file into an atlas of side atlasScale × 256 with its glyph data.
Font* LoadFontFile(const char* path, uint32_t pixelHeight, float atlasScale) {
    if (path == nullptr) return nullptr;
    FILE* file = OpenGameFile(path, "rb");
    std::string text;
    const bool read = file != nullptr && ReadToEnd(file, &text);
    if (file != nullptr) fclose(file);
    if (!read) {
        fprintf(stderr, "LoadFont: cannot read font file \"%s\"\n", path);
        return nullptr;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    stbtt_fontinfo info;
    if (!FontTablesInsideFile(bytes, text.size()) ||
        !stbtt_InitFont(&info, bytes, stbtt_GetFontOffsetForIndex(bytes, 0))) {
        fprintf(stderr, "LoadFont: \"%s\" is not a TrueType font\n", path);
        return nullptr;
    }
    if (!GlyphBoxesUpright(info)) {
        fprintf(stderr, "LoadFont: \"%s\" has glyph boxes upside down\n", path);
        return nullptr;
    }
    const int side = (int)(atlasScale * 256.0f);
    if (side <= 0 || side > MAX_ATLAS_SIDE || pixelHeight == 0) {
        fprintf(stderr, "LoadFont: \"%s\": bad size (%u pixels, atlas %d)\n", path, pixelHeight,
                side);
        return nullptr;
    }
    std::vector<unsigned char> coverage((size_t)side * side, 0);
    stbtt_packedchar packed[FONT_GLYPH_COUNT] = {};
    stbtt_pack_context packer;
    if (!stbtt_PackBegin(&packer, coverage.data(), side, side, 0, 1, nullptr)) {
        fprintf(stderr, "LoadFont: \"%s\": cannot start packing\n", path);
        return nullptr;
    }
    stbtt_PackSetOversampling(&packer, 1, 1);
    if (!stbtt_PackFontRange(&packer, bytes, 0, (float)pixelHeight, FONT_FIRST_CHAR,
                             FONT_GLYPH_COUNT, packed))
        fprintf(stderr, "LoadFont: \"%s\" at %u pixels does not fit a %d by %d atlas\n", path,
                pixelHeight, side, side);
    stbtt_PackEnd(&packer);

    GlyphData* glyphData = new GlyphData{};
    FillGlyphData(info, packed, side, pixelHeight, glyphData);
    std::vector<unsigned char> rgba = CoverageToAtlasPixels(coverage, side);
    Texture* atlas = CreateTexture(side, side, rgba.data());
    snprintf(atlas->name, sizeof atlas->name, "%s", path);

    Font* font = new Font{{}, pixelHeight, glyphData, atlas}; // named below
    snprintf(font->name, sizeof font->name, "%s", path);
    fontList.push_back(font);
    return font;
}

// Unloads the atlas, frees the glyph data and forgets the font.
void FreeFont(Font* font) {
    if (font == nullptr) return;
    if (std::erase(fontList, font) == 0) {
        fprintf(stderr, "FreeFont: font is not in the font list (freed twice?)\n");
        return;
    }
    UnloadTexture(font->atlas);
    delete font->glyphData;
    delete font;
}

// Two white triangles per glyph from the pen at (0, 0); newlines start a new line.
Mesh* BuildTextMesh(Font* font, const char* text) {
    if (font == nullptr || font->glyphData == nullptr || text == nullptr) return nullptr;
    const GlyphData& data = *font->glyphData;
    MeshStart();
    float penX = 0.0f, penY = 0.0f;
    for (const char* p = text; *p != '\0'; ++p) {
        const unsigned char c = (unsigned char)*p;
        if (c == '\n') {
            penY -= data.lineHeight;
            penX = 0.0f;
            continue;
        }
        const int slot = GlyphSlot(c);
        if (slot < 0) continue; // no glyph for it: skipped, never read out of bounds
        const float* g = data.glyphs[slot];
        const float left = g[GLYPH_LEFT] + penX, right = g[GLYPH_RIGHT] + penX;
        const float bottom = g[GLYPH_BOTTOM] + penY, top = g[GLYPH_TOP] + penY;
        const float uLeft = g[GLYPH_U_LEFT], uRight = g[GLYPH_U_RIGHT];
        const float vBottom = g[GLYPH_V_BOTTOM], vTop = g[GLYPH_V_TOP];
        MeshAddTriangle(left, top, WHITE, uLeft, vTop, left, bottom, WHITE, uLeft, vBottom, right,
                        bottom, WHITE, uRight, vBottom);
        MeshAddTriangle(left, top, WHITE, uLeft, vTop, right, bottom, WHITE, uRight, vBottom, right,
                        top, WHITE, uRight, vTop);
        penX += g[GLYPH_ADVANCE];
        const int nextSlot = GlyphSlot((unsigned char)p[1]);
        if (nextSlot >= 0) penX += data.kerning[slot][nextSlot];
    }
    return MeshEnd(3 * MeshBuilderTriangleCount());
}

// Draws the text tinted with the font's atlas, then puts the render globals back.
void PrintText(const char* text, Font* font, uint32_t color) {
    if (text == nullptr || font == nullptr) return;
    if (printTextObserver != nullptr) printTextObserver(text, color, modelTransform);
    if (DrawingSuppressed()) return; // the window cannot be seen: no mesh to build
    Mesh* mesh = BuildTextMesh(font, text);
    if (mesh == nullptr) return;
    const auto saved = std::make_tuple(useTint, tintColor, boundTexture, textureTransform);
    useTint = true;
    SetTintColor(color);
    boundTexture = font->atlas;
    Matrix3Identity(textureTransform);
    DrawMesh(mesh);
    std::tie(useTint, tintColor, boundTexture, textureTransform) = saved;
    FreeMesh(mesh);
}

// Live fonts (shown in the exit report).
int FontCount() {
    return (int)fontList.size();
}

// Frees every listed font with its atlas.
void FreeAllFonts() {
    while (!fontList.empty())
        FreeFont(fontList.back());
}

// Tests record printed texts through this.
void SetPrintTextObserver(PrintTextObserver observer) {
    printTextObserver = observer;
}
