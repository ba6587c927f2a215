// Fonts and text: newlines, kerning, empty texts, characters
// without a glyph, unreadable fonts, the render globals restored after a print,
// and upright glyphs on screen.
#include <stb_truetype.h>

#include <iterator>
#include <map>

#include "engine/file.h"
#include "engine/graphics/font.h"
#include "engine/graphics/texture.h"
#include "graphics_helpers.h"

namespace {

// Glyph record fields used here.
enum { CODE, LEFT, BOTTOM, RIGHT, TOP, U_LEFT, V_BOTTOM, U_RIGHT, V_TOP, ADVANCE };

// A suite with the game's 20-pixel size baked from a serif font.
class FontTest : public GraphicsTest {
  protected:
    void SetUp() override {
        loadMessages = CaptureStderrOf([&] { font = LoadFontFile(TEST_FONT, 20, 1.0f); });
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override { FreeFont(font); }
    const float* Glyph(unsigned char c) const {
        return font->glyphData->glyphs[c - FONT_FIRST_CHAR];
    }
    // x of the first vertex of the glyph at `index` of a text's mesh.
    float GlyphX(const char* text, int index) const {
        Mesh* mesh = BuildTextMesh(font, text);
        const float x = ReadMeshVertices(mesh).at(index * 6).x;
        FreeMesh(mesh);
        return x;
    }
    Font* font = nullptr;
    std::string loadMessages;
};

TEST_F(FontTest, NewlinesKerningAndCharactersWithoutAGlyph) {
    EXPECT_EQ(loadMessages, ""); // every character fits the 256 by 256 atlas
    const float lineHeight = font->glyphData->lineHeight;
    EXPECT_TRUE(lineHeight >= 20.0f && lineHeight < 30.0f) << lineHeight;
    Mesh* mesh = BuildTextMesh(font, "A\nB");
    const std::vector<MeshVertex> v = ReadMeshVertices(mesh);
    FreeMesh(mesh);
    ASSERT_EQ(v.size(), 12u);                  // two glyphs, the newline draws nothing
    EXPECT_FLOAT_EQ(v[6].x, Glyph('B')[LEFT]); // pen x back at 0, one line lower
    EXPECT_FLOAT_EQ(v[6].y, Glyph('B')[TOP] - lineHeight);
    // A serif face tucks V under A: the pen moves by the advance plus the kerning.
    const float kern = font->glyphData->kerning['A' - FONT_FIRST_CHAR]['V' - FONT_FIRST_CHAR];
    EXPECT_LT(kern, 0.0f);
    EXPECT_NEAR(GlyphX("AV", 1), Glyph('A')[ADVANCE] + kern + Glyph('V')[LEFT], 1e-4f);
    EXPECT_FLOAT_EQ(GlyphX("A\nV", 1), Glyph('V')[LEFT]); // none across a newline
    // 1 (control), 200 and 255 are skipped and move nothing; 196 is the last glyph.
    EXPECT_FLOAT_EQ(GlyphX("A\x01"
                           "B\xC8\xFF\xC4",
                           1),
                    Glyph('A')[ADVANCE] + Glyph('B')[LEFT]);
    const int meshes = MeshCount();
    for (const char* nothing : {"", "\n\n", (const char*)nullptr, "\x05\xF0"})
        EXPECT_EQ(BuildTextMesh(font, nothing), nullptr);
    BeginTestDrawing();
    PrintText("", font, 0xFFFFFFFF);
    PrintText("Gold", nullptr, 0xFFFFFFFF);
    EXPECT_EQ(MeshCount(), meshes);
}

// The test font with the box of its "G" upside down (xMin and xMax swapped), which
// once crashed the atlas packer.
std::string WriteUpsideDownFont(const std::string& folder) {
    std::ifstream in(TEST_FONT, std::ios::binary);
    std::string font((std::istreambuf_iterator<char>(in)), {});
    auto read = [&font](size_t at, int size) { // a big-endian field
        uint32_t value = 0;
        for (int i = 0; i < size; ++i)
            value = value << 8 | (unsigned char)font[at + i];
        return value;
    };
    std::map<std::string, size_t> table; // offsets of the file's tables by tag
    for (uint32_t i = 0; i < read(4, 2); ++i)
        table[font.substr(12 + i * 16, 4)] = read(20 + i * 16, 4);
    stbtt_fontinfo info;
    EXPECT_TRUE(stbtt_InitFont(&info, (const unsigned char*)font.data(), 0));
    const size_t glyph = stbtt_FindGlyphIndex(&info, 'G'), loca = table["loca"];
    const size_t at = table["glyf"] + (read(table["head"] + 50, 2) ? read(loca + glyph * 4, 4)
                                                                   : read(loca + glyph * 2, 2) * 2);
    std::swap_ranges(font.begin() + at + 2, font.begin() + at + 4, font.begin() + at + 6);
    WriteBytes(folder + "/UpsideDown.ttf", font);
    return folder + "/UpsideDown.ttf";
}

// Missing, garbage and upside-down font files, the game font missing from its data
// folder: each a null font and one line naming the file, nothing kept.
TEST_F(FontTest, UnreadableFontFilesGiveANullFont) {
    const std::string folder = MakeTempFolder(), garbage = folder + "/Garbage.ttf";
    // A TrueType signature claiming 64 tables in a 24-byte file.
    WriteBytes(garbage, std::string("\x00\x01\x00\x00\x00\x40 not really a font", 24));
    const int fonts = FontCount(), textures = TextureCount();
    for (const std::string& path :
         {folder + "/Missing.ttf", garbage, WriteUpsideDownFont(folder)}) {
        const std::string err =
            CaptureStderrOf([&] { EXPECT_EQ(LoadFontFile(path.c_str(), 20, 1.0f), nullptr); });
        EXPECT_EQ(CountLines(err), 1) << err;
        EXPECT_NE(err.find(path), std::string::npos) << err;
    }
    const std::string saved = GetGameBaseDir();
    SetGameBaseDir(folder);
    const std::string err = CaptureStderrOf([] { EXPECT_EQ(LoadFont(20, 1.0f), nullptr); });
    SetGameBaseDir(saved);
    EXPECT_NE(err.find("TrajanPro-Regular.ttf"), std::string::npos) << err;
    EXPECT_EQ(FontCount(), fonts);
    EXPECT_EQ(TextureCount(), textures);
}

TEST_F(FontTest, GlyphsStandUprightOnTheBaselineFromTheOrigin) {
    Font* big = LoadFontFile(TEST_FONT, 40, 2.0f);
    ASSERT_NE(big, nullptr);
    BeginTestDrawing();
    PrintText("L", big, 0xFFFFFFFF); // origin at the client centre
    FreeFont(big);
    // Rows from world y 60 down to -19, columns from x -20 to 59.
    int top = -1, bottom = -1, leftmost = 80;
    std::vector<int> reach(80, -1); // rightmost lit column per row
    for (int row = 0; row < 80; ++row)
        for (int col = 0; col < 80; ++col)
            if ((ReadWorldPixel(col - 20.0f, 60.0f - row) >> 16) > 128) {
                reach[row] = col;
                top = top < 0 ? row : top;
                bottom = row;
                leftmost = std::min(leftmost, col);
            }
    ASSERT_GE(top, 0);
    EXPECT_NEAR(bottom, 59, 1); // the foot rests on the baseline y = 0
    EXPECT_GE(leftmost, 20);    // nothing left of the origin
    // The L's bar runs right at its foot, not its head: neither upside down nor mirrored.
    const int quarter = (bottom - top) / 4;
    EXPECT_GT(*std::max_element(&reach[bottom - quarter], &reach[bottom] + 1),
              *std::max_element(&reach[top], &reach[top + quarter] + 1) + 5);
}

} // namespace
