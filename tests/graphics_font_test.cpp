// Fonts and text: the baked atlas, newlines, kerning, empty texts, characters
// without a glyph, unreadable fonts, the render globals restored after a print,
// the print observer, tinted and upright glyphs on screen.
#include <stb_truetype.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "engine/file.h"
#include "engine/graphics/font.h"
#include "engine/graphics/texture.h"
#include "graphics_helpers.h"

namespace {

// Glyph record fields used here.
enum { CODE, LEFT, BOTTOM, RIGHT, TOP, U_LEFT, V_BOTTOM, U_RIGHT, V_TOP, ADVANCE };

// A rectangle of the back buffer.
struct PixelBox {
    int width, height;
    std::vector<uint8_t> rgba; // rows bottom to top, as OpenGL reads them
    // Channel `c` of pixel (px, py) inside the box, py from the top.
    int At(int px, int py, int c) const {
        return rgba[((size_t)(height - 1 - py) * width + px) * 4 + c];
    }
    // Largest value of channel `c` in the box.
    int Max(int c) const {
        int best = 0;
        for (size_t i = c; i < rgba.size(); i += 4)
            best = std::max(best, (int)rgba[i]);
        return best;
    }
};

// Reads a rectangle of the back buffer given in world units (left, bottom, size).
PixelBox ReadWorldBox(float left, float bottom, int width, int height) {
    PixelBox box{width, height, std::vector<uint8_t>((size_t)width * height * 4)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels((int)(worldMaxX + left), (int)(worldMaxY + bottom), width, height, GL_RGBA,
                 GL_UNSIGNED_BYTE, box.rgba.data());
    return box;
}

// Glyph record of a character.
const float* Glyph(Font* font, unsigned char c) {
    return font->glyphData->glyphs[c - FONT_FIRST_CHAR];
}

// Kerning between two characters.
float Kerning(Font* font, unsigned char a, unsigned char b) {
    return font->glyphData->kerning[a - FONT_FIRST_CHAR][b - FONT_FIRST_CHAR];
}

// Every print the observer saw.
std::vector<PrintedText> recorded;
void RecordPrint(const char* text, uint32_t color, const float model[4][4]) {
    recorded.push_back({text, color, model[0][3], model[1][3], model[0][0]});
}

// A suite with the game's 20-pixel size baked from a serif font.
class FontTest : public GraphicsTest {
  protected:
    void SetUp() override {
        testing::internal::CaptureStderr();
        font = LoadFontFile(TEST_FONT, 20, 1.0f);
        loadMessages = testing::internal::GetCapturedStderr();
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override { FreeFont(font); }
    Font* font = nullptr;
    std::string loadMessages;
};

TEST_F(FontTest, TheFontIsBakedIntoAnAtlasWithGlyphData) {
    EXPECT_EQ(loadMessages, ""); // every character fits the 256 by 256 atlas
    ASSERT_NE(font->atlas, nullptr);
    EXPECT_EQ(font->atlas->width * font->atlas->height, 256 * 256);
    const GlyphData& data = *font->glyphData;
    EXPECT_GE(data.lineHeight, 20.0f);
    EXPECT_LT(data.lineHeight, 30.0f);
    for (int i = 0; i < FONT_GLYPH_COUNT; ++i)
        EXPECT_FLOAT_EQ(data.glyphs[i][CODE], (float)(FONT_FIRST_CHAR + i));
    const float* space = Glyph(font, ' ');
    EXPECT_FLOAT_EQ(space[RIGHT] - space[LEFT], 0.0f);
    EXPECT_GT(space[ADVANCE], 0.0f);
    EXPECT_LT(Glyph(font, 'i')[ADVANCE], Glyph(font, 'W')[ADVANCE]);
    const float* h = Glyph(font, 'H');
    EXPECT_NEAR(h[BOTTOM], 0.0f, 0.5f); // sits on the baseline
    EXPECT_GT(h[TOP], 10.0f);
    EXPECT_GT(Glyph(font, 'g')[BOTTOM], -10.0f);
    EXPECT_LT(Glyph(font, 'g')[BOTTOM], -2.0f); // descender below the baseline
    EXPECT_GT(h[V_TOP], h[V_BOTTOM]);           // atlas rows reversed: the top has the larger v
    EXPECT_GT(h[U_RIGHT], h[U_LEFT]);
    // The atlas holds (c, c, c, c) coverage, with ink inside H's rectangle.
    std::vector<uint8_t> rgba(256 * 256 * 4);
    glBindTexture(GL_TEXTURE_2D, font->atlas->glName);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    int ink = 0;
    for (int y = (int)(h[V_BOTTOM] * 256); y < (int)(h[V_TOP] * 256); ++y)
        for (int x = (int)(h[U_LEFT] * 256); x < (int)(h[U_RIGHT] * 256); ++x) {
            const uint8_t* p = &rgba[((size_t)y * 256 + x) * 4];
            EXPECT_TRUE(p[0] == p[1] && p[1] == p[2] && p[2] == p[3]);
            ink = std::max(ink, (int)p[3]);
        }
    EXPECT_EQ(ink, 255);
}

TEST_F(FontTest, ANewlineReturnsThePenAndDropsOneLineHeight) {
    Mesh* mesh = BuildTextMesh(font, "A\nB");
    ASSERT_NE(mesh, nullptr);
    const std::vector<MeshVertex> v = ReadMeshVertices(mesh);
    ASSERT_EQ(v.size(), 12u); // two glyphs, the newline draws nothing
    const float *a = Glyph(font, 'A'), *b = Glyph(font, 'B');
    EXPECT_FLOAT_EQ(v[0].x, a[LEFT]);
    EXPECT_FLOAT_EQ(v[0].y, a[TOP]);
    EXPECT_FLOAT_EQ(v[6].x, b[LEFT]); // pen x back at 0
    EXPECT_FLOAT_EQ(v[6].y, b[TOP] - font->glyphData->lineHeight);
    EXPECT_FLOAT_EQ(v[7].y, b[BOTTOM] - font->glyphData->lineHeight);
    FreeMesh(mesh);
}

TEST_F(FontTest, AKerningPairDiffersFromTheSumOfAdvancesByItsKerning) {
    EXPECT_LT(Kerning(font, 'A', 'V'), 0.0f); // a serif face tucks V under A
    const char* pairs[] = {"AV", "To", "AT", "VA", "Yo", "LT"};
    for (const char* pair : pairs) {
        const float kern = Kerning(font, pair[0], pair[1]);
        if (kern == 0.0f) continue;
        Mesh* mesh = BuildTextMesh(font, pair);
        ASSERT_NE(mesh, nullptr);
        const std::vector<MeshVertex> v = ReadMeshVertices(mesh);
        const float secondPen = v[6].x - Glyph(font, pair[1])[LEFT];
        EXPECT_NEAR(secondPen - Glyph(font, pair[0])[ADVANCE], kern, 1e-4f) << pair;
        FreeMesh(mesh);
    }
    // No kerning against the end of the text or a newline.
    Mesh* mesh = BuildTextMesh(font, "A\nV");
    EXPECT_FLOAT_EQ(ReadMeshVertices(mesh)[6].x, Glyph(font, 'V')[LEFT]);
    FreeMesh(mesh);
}

TEST_F(FontTest, EmptyTextsLeaveNoMeshAndCharactersWithoutAGlyphAreSkipped) {
    const int meshes = MeshCount();
    for (const char* nothing : {"", "\n\n", (const char*)nullptr, "\x05\xF0"})
        EXPECT_EQ(BuildTextMesh(font, nothing), nullptr);
    BeginTestDrawing();
    PrintText("", font, 0xFFFFFFFF);
    PrintText("\n", font, 0xFFFFFFFF);
    EXPECT_EQ(MeshCount(), meshes);
    EXPECT_EQ(ReadWorldBox(-100, -100, 200, 200).Max(0), 0);
    // 1 (control), 200 and 255 (negative as a signed char) skipped; 196 is the last glyph.
    Mesh* mesh = BuildTextMesh(font, "A\x01"
                                     "B\xC8\xFF\xC4");
    ASSERT_NE(mesh, nullptr);
    const std::vector<MeshVertex> v = ReadMeshVertices(mesh);
    EXPECT_EQ(v.size(), 18u); // A, B and 196
    // The skipped character moves nothing: B follows A by A's advance alone.
    EXPECT_FLOAT_EQ(v[6].x, Glyph(font, 'A')[ADVANCE] + Glyph(font, 'B')[LEFT]);
    FreeMesh(mesh);
    EXPECT_EQ(MeshCount(), meshes);
}

TEST_F(FontTest, TintAndTextureAreRestoredAfterAPrint) {
    const uint8_t grey[4] = {9, 9, 9, 9};
    Texture* previous = CreateTexture(1, 1, grey);
    BeginTestDrawing();
    useTint = false;
    tintColor = 0xFF123456;
    BindTexture(previous);
    const Matrix3 frameCell = Matrix3Scale(0.25f, 0.5f);
    textureTransform = frameCell;
    PrintText("Gold 120", font, 0xFFFF0000);
    EXPECT_FALSE(useTint);
    EXPECT_EQ(tintColor, 0xFF123456u);
    EXPECT_EQ(boundTexture, previous);
    GLint glBound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &glBound);
    EXPECT_EQ((GLuint)glBound, previous->glName);
    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ(textureTransform.m[i / 3][i % 3], frameCell.m[i / 3][i % 3]);
    // With nothing bound before, nothing is bound after.
    BindTexture(nullptr);
    PrintText("x", font, 0xFF000000);
    EXPECT_EQ(boundTexture, nullptr);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &glBound);
    EXPECT_EQ(glBound, 0);
    UnloadTexture(previous);
}

// Big-endian field of a font file.
uint32_t BigEndian(const std::string& b, size_t at, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | (unsigned char)b[at + i];
    return value;
}

// Offset of a table in a TrueType file's directory (0 when absent).
size_t TableOffset(const std::string& font, const char* tag) {
    for (uint32_t i = 0; i < BigEndian(font, 4, 2); ++i)
        if (font.compare(12 + i * 16, 4, tag) == 0) return BigEndian(font, 12 + i * 16 + 8, 4);
    return 0;
}

// The test font with the box of its "G" upside down (xMin and xMax swapped), which
// once crashed the atlas packer.
std::string WriteUpsideDownFont(const std::string& folder) {
    std::ifstream in(TEST_FONT, std::ios::binary);
    std::string font((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    stbtt_fontinfo info;
    EXPECT_TRUE(font.size() > 1000 && stbtt_InitFont(&info, (const unsigned char*)font.data(), 0));
    const int glyph = stbtt_FindGlyphIndex(&info, 'G');
    const bool longOffsets = BigEndian(font, TableOffset(font, "head") + 50, 2) != 0;
    const size_t loca = TableOffset(font, "loca");
    const size_t at =
        TableOffset(font, "glyf") + (longOffsets ? BigEndian(font, loca + glyph * 4, 4)
                                                 : BigEndian(font, loca + glyph * 2, 2) * 2);
    std::swap_ranges(font.begin() + at + 2, font.begin() + at + 4, font.begin() + at + 6);
    WriteBytes(folder + "/UpsideDown.ttf", font);
    return folder + "/UpsideDown.ttf";
}

// Missing, garbage and upside-down font files, the game font missing from its data
// folder, sizes that make no atlas: each a null font and one line, nothing kept.
TEST_F(FontTest, UnreadableFontFilesAndBadSizesGiveANullFont) {
    const std::string folder = MakeTempFolder();
    const std::string missing = folder + "/Missing.ttf", garbage = folder + "/Garbage.ttf";
    // A TrueType signature claiming 64 tables in a 24-byte file.
    WriteBytes(garbage, std::string("\x00\x01\x00\x00\x00\x40 not really a font", 24));
    const int fonts = FontCount(), textures = TextureCount();
    for (const std::string& path : {missing, garbage, WriteUpsideDownFont(folder)}) {
        const std::string err =
            CaptureStderrOf([&] { EXPECT_EQ(LoadFontFile(path.c_str(), 20, 1.0f), nullptr); });
        EXPECT_EQ(CountLines(err), 1) << err;
        EXPECT_NE(err.find(path), std::string::npos) << err;
    }
    const std::pair<uint32_t, float> badSizes[] = {
        {20, 0.0f}, {20, -1.0f}, {0, 1.0f}, {20, 100.0f}};
    for (const auto& [pixels, atlasScale] : badSizes) {
        const std::string err = CaptureStderrOf(
            [&] { EXPECT_EQ(LoadFontFile(TEST_FONT, pixels, atlasScale), nullptr); });
        EXPECT_EQ(CountLines(err), 1) << pixels << " " << atlasScale << ": " << err;
    }
    const std::string saved = GetGameBaseDir();
    SetGameBaseDir(folder);
    Font* gameFont = nullptr;
    const std::string err = CaptureStderrOf([&] { gameFont = LoadFont(20, 1.0f); });
    SetGameBaseDir(saved);
    EXPECT_EQ(gameFont, nullptr);
    EXPECT_NE(err.find("TrajanPro-Regular.ttf"), std::string::npos) << err;
    EXPECT_EQ(FontCount(), fonts);
    EXPECT_EQ(TextureCount(), textures);
}

TEST_F(FontTest, TheObserverSeesEveryPrintAndANullFontPrintsNothing) {
    recorded.clear();
    SetPrintTextObserver(RecordPrint);
    const int meshes = MeshCount();
    BeginTestDrawing();
    SetTransform(Matrix3Translation(-615, 340));
    PrintText("KNIGHT   30$", font, 0xFFD4AF37);
    SetTransform(Matrix3Translation(0, 0));
    PrintText("Gold", nullptr, 0xFFFFFFFF);
    EXPECT_EQ(ReadWorldBox(-50, -50, 100, 100).Max(0), 0);
    SetPrintTextObserver(nullptr);
    PrintText("unseen", font, 0xFFFFFFFF);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].text, "KNIGHT   30$");
    EXPECT_EQ(recorded[0].color, 0xFFD4AF37u);
    EXPECT_FLOAT_EQ(recorded[0].x, -615.0f);
    EXPECT_FLOAT_EQ(recorded[0].y, 340.0f);
    EXPECT_EQ(MeshCount(), meshes);
}

// A larger size for reading glyph pixels back.
class FontPixelTest : public GraphicsTest {
  protected:
    void SetUp() override {
        font = LoadFontFile(TEST_FONT, 40, 2.0f);
        ASSERT_NE(font, nullptr);
        square = CreateSquareMesh(0xFFFFFFFF);
    }
    void TearDown() override {
        FreeFont(font);
        FreeMesh(square);
    }
    // Prints `text` with its baseline origin at world (x, y).
    void PrintAt(const char* text, float x, float y, uint32_t color) {
        SetTransform(Matrix3Translation(x, y));
        PrintText(text, font, color);
    }
    Font* font = nullptr;
    Mesh* square = nullptr;
};

TEST_F(FontPixelTest, ColourAlphaSetsTheTextsOpacity) {
    BeginTestDrawing();
    PrintAt("H", -300, 0, 0xFFFFFFFF);
    PrintAt("H", 100, 0, 0x80FF0000);
    EXPECT_GE(ReadWorldBox(-305, -5, 50, 50).Max(0), 250);
    const PixelBox halfRed = ReadWorldBox(95, -5, 50, 50);
    EXPECT_NEAR(halfRed.Max(0), 128, 3);
    EXPECT_EQ(halfRed.Max(1) + halfRed.Max(2), 0);
    // Over a white panel, half-opaque black text is mid grey.
    DrawMeshAt(square, 0, -150, 200, 100);
    PrintAt("H", -20, -170, 0x80000000);
    const PixelBox overPanel = ReadWorldBox(-25, -175, 50, 50);
    int darkest = 255;
    for (size_t i = 0; i < overPanel.rgba.size(); i += 4)
        darkest = std::min(darkest, (int)overPanel.rgba[i]);
    EXPECT_NEAR(darkest, 127, 3);
}

TEST_F(FontPixelTest, GlyphsStandUprightOnTheBaselineFromTheOrigin) {
    BeginTestDrawing();
    PrintAt("L", 0, 0, 0xFFFFFFFF);
    const PixelBox box = ReadWorldBox(-20, -20, 80, 80); // world y = 60 - row
    int top = -1, bottom = -1, leftmost = 80;
    std::vector<int> rightmostPerRow(80, -1);
    for (int row = 0; row < 80; ++row)
        for (int col = 0; col < 80; ++col)
            if (box.At(col, row, 0) > 128) {
                rightmostPerRow[row] = col;
                top = top < 0 ? row : top;
                bottom = row;
                leftmost = std::min(leftmost, col);
            }
    ASSERT_GE(top, 0);
    EXPECT_NEAR(bottom, 59, 1); // the foot rests on the baseline y = 0
    EXPECT_GE(leftmost, 20);    // nothing left of the origin
    // The L's bar runs right at its foot, not its head: neither upside down nor mirrored.
    const int quarter = (bottom - top) / 4;
    const int headReach =
        *std::max_element(&rightmostPerRow[top], &rightmostPerRow[top + quarter] + 1);
    const int footReach =
        *std::max_element(&rightmostPerRow[bottom - quarter], &rightmostPerRow[bottom] + 1);
    EXPECT_GT(footReach, headReach + 5);
}

} // namespace
